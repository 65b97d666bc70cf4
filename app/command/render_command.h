// toven --render FILE [--size WxH] [--print-layout] [NAME=VALUE ...]: one page into a file.
#pragma once

#include "app/app_data.h"

namespace toven {

// argv[1] is "--render"; returns the exit status, with a message on standard error on failure.
int run_render_command(AppData& state, int argc, char** argv);

}  // namespace toven
