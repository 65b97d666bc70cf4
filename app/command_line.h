// The options that serve scripts and people without a display: --eval, --render and --help.
// Results go to standard output, messages to standard error; the status is 0 or 1.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "platform/refusal.h"

namespace toven {

// Runs the option in argv[1]; returns the program's exit status.
int run_command_line(int argc, char** argv);

// True when argv[1] is an option (it starts with "-"); otherwise the arguments are the data
// items the window program starts with.
bool is_option(const char* argument);

// Sets the NAME=VALUE items of argv[1..] before the window program starts. A bad or unknown
// item, a formula that does not parse or graph data that cannot be plotted is reported on
// standard error; returns the exit status then (1), else 0.
int apply_start_items(AppState& state, int argc, char** argv);

class SurfaceFunction;

// Prints "toven: " and the message on standard error; returns the exit status 1.
int fail(const std::string& message);

// Compiles the formula of fdata; a formula that does not parse is reported on standard error
// with the engine's diagnostic, and the result is false.
bool compile_or_report(SurfaceFunction& function);

}  // namespace toven
