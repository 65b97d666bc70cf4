// The application shell's start-up: the menu, the window classes, the main window and the
// message loop. The two window procedures are in main_window.h and child_window.h; they work
// on the AppState given here through app/shell_state.h.
#pragma once

#include "app/window/app_state.h"
#include "platform/window_system.h"

namespace toven {

// Registers the menu and the window classes and shows the main window, which it returns; the
// window procedures work on `state` from now on. Needs an interactive session.
platform::Window* start_shell(AppState& state);
// start_shell, then the message loop until the main window is destroyed; its exit code.
int run_shell(AppState& state);

}  // namespace toven
