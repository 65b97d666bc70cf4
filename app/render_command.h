// toven --render FILE [--size WxH] [--print-layout] [NAME=VALUE ...]: one page into a file.
#pragma once

namespace toven {

// argv[1] is "--render"; returns the exit status, with a message on standard error on failure.
int run_render_command(int argc, char** argv);

}  // namespace toven
