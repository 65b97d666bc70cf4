// The application shell's start-up: the menu, the window classes, the main window and the
// message loop. The two window procedures are in main_window.h and child_window.h; they work
// on the AppState given here through app/shell_state.h.
#pragma once

#include <string>

#include "app/window/app_state.h"
#include "platform/window_system.h"

namespace toven {

// Registers the menu and the window classes and shows the main window, which it returns; the
// window procedures work on `state` from now on. Needs an interactive session.
platform::Window* start_shell(AppState& state);
// start_shell, then the message loop until the main window is destroyed; its exit code.
int run_shell(AppState& state);

// Bad data at start-up ends the program before its window opens. Someone who started it from
// a desktop sees no standard error, so the message is shown in a box too, under this caption.
inline constexpr const char* start_refusal_caption = "toven did not start";
void show_start_refusal(const std::string& message);

}  // namespace toven
