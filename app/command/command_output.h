// How the command-line commands report: results on standard output, messages on standard
// error, and the exit status 0 or 1.
#pragma once

#include <string>

namespace toven {

class SurfaceFunction;

// Prints "toven: " and the message on standard error; returns the exit status 1.
int fail(const std::string& message);

// Compiles the function's formula; a formula that does not parse is reported on standard
// error with the engine's diagnostic, and the result is false.
bool compile_or_report(SurfaceFunction& function);

// `status`, once standard output is flushed: what was printed is the result, so output that
// did not reach its file (a full disk, a closed descriptor) fails with the system's cause.
int check_standard_output(int status);

}  // namespace toven
