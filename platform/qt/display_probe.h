// Whether a window system is there at the address the environment gives (DISPLAY for X11,
// WAYLAND_DISPLAY for Wayland), found without starting the window system's client. A server
// that answers may still refuse the screen or the client: the session reports that itself.
#pragma once

#include <string>
#include <string_view>

namespace toven::platform::qt {

// The folder where local X servers keep their sockets.
inline constexpr const char* x11_socket_folder = "/tmp/.X11-unix";

bool x11_display_answers();
// `display` in DISPLAY's form, local servers' sockets looked for in `socket_folder`.
bool x11_display_answers(std::string_view display, const std::string& socket_folder);
bool wayland_display_answers();

}  // namespace toven::platform::qt
