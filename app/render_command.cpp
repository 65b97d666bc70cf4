#include "app/render_command.h"

#include <cstdio>

namespace toven {

int run_render_command(int, char**) {
    std::fputs("toven: --render is not available in this build\n", stderr);
    return 1;
}

}  // namespace toven
