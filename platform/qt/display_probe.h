// Whether a window system is there at the address the environment gives (DISPLAY for X11,
// WAYLAND_DISPLAY for Wayland), found without starting the window system's client.
#pragma once

namespace toven::platform::qt {

bool x11_display_answers();
bool wayland_display_answers();

}  // namespace toven::platform::qt
