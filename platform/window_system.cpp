#include "platform/window_system.h"

namespace toven::platform {

std::intptr_t def_window_procedure(Window* window, unsigned message, std::uintptr_t,
                                   std::intptr_t) {
    if (message == WM_CLOSE) {
        destroy_window(window);
    }
    return 0;
}

}  // namespace toven::platform
