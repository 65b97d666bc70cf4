// The options that serve scripts and people without a display: --eval, --render, --help and
// --version, and the data items the window program starts with.
#pragma once

#include <optional>
#include <string>

#include "app/app_data.h"

namespace toven {

// Runs the option in argv[1] on a state of its own; returns the program's exit status.
int run_command_line(int argc, char** argv);

// True when argv[1] is an option (it starts with "-"); otherwise the arguments are the data
// items the window program starts with.
bool is_option(const char* argument);

// Sets the NAME=VALUE items and data files of argv[1..] in `state` before the window program
// starts. A bad or unknown item, a formula that does not parse or graph data that cannot be
// plotted is refused: the result is the message for the person, which the window program
// writes on standard error and shows.
std::optional<std::string> start_items_refusal(AppData& state, int argc, char** argv);

}  // namespace toven
