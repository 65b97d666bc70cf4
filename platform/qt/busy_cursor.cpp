#include "platform/busy_cursor.h"

#include <algorithm>

#include "platform/qt/widget_window.h"

namespace toven::platform {

namespace {

// The screen window, if it is still on the screen: a window destroyed during the work (from a
// box's event loop) may be freed, so it is looked up rather than followed.
qt::WidgetWindow* on_screen(Window* window) {
    const auto& windows = qt::screen_windows();
    const auto found = std::ranges::find_if(
        windows, [window](const qt::WidgetWindow* live) { return live == window; });
    return found != windows.end() ? *found : nullptr;
}

}  // namespace

BusyCursor::BusyCursor(Window* window) : window_(window) {
    if (qt::WidgetWindow* screen_window = on_screen(window_)) {
        screen_window->show_busy(true);
    }
}

BusyCursor::~BusyCursor() {
    if (qt::WidgetWindow* screen_window = on_screen(window_)) {
        screen_window->show_busy(false);
    }
}

}  // namespace toven::platform
