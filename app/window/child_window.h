// The procedure of every child window (data windows, plot windows and the help window), told
// apart by the shell's window pointers. Registered for "SubWnd" by start_shell.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace toven {

std::intptr_t child_window_procedure(platform::Window* window, unsigned message,
                                     std::uintptr_t wparam, std::intptr_t lparam);

}  // namespace toven
