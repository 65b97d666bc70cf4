// Menu bars built from the menu resources. Internal to the platform layer.
#pragma once

#include <string_view>

class QMenuBar;

namespace toven::platform::qt {

class WidgetWindow;

// A menu bar for the named resource whose items send WM_COMMAND to `window`; null when no
// resource has that name (names compare without regard to case).
QMenuBar* build_menu_bar(std::string_view resource_name, WidgetWindow* window);

}  // namespace toven::platform::qt
