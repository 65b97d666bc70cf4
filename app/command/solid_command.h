// toven --render FILE.stl [NAME=VALUE ...]: the surface as a closed solid in a binary STL file,
// for a 3-D printer.
#pragma once

#include <string>

#include "app/app_data.h"

namespace toven {

// argv[1] is "--render" and argv[2] the STL file; returns the exit status, with a message on
// standard error on failure. Nothing is written unless the whole solid is.
int run_solid_command(AppData& state, int argc, char** argv);

}  // namespace toven
