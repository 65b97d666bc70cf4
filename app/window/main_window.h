// The main window's procedure: the menu commands, and the end of the program when the main
// window is destroyed. Registered for the class "toven" by start_shell.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace toven {

std::intptr_t main_window_procedure(platform::Window* window, unsigned message,
                                    std::uintptr_t wparam, std::intptr_t lparam);

}  // namespace toven
