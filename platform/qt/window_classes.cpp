#include <QApplication>
#include <QMenuBar>
#include <map>

#include "platform/qt/menu.h"
#include "platform/qt/resource_name.h"
#include "platform/qt/widget_window.h"
#include "platform/window_system.h"

namespace toven::platform {

namespace {

// The size of a window whose class and caller leave it to the window system.
constexpr int default_width = 640;
constexpr int default_height = 480;

std::map<std::string, WindowClass>& window_classes() {
    static std::map<std::string, WindowClass> classes;
    return classes;
}

qt::WidgetWindow* live_window(const Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    return screen_window != nullptr && !screen_window->destroyed() ? screen_window : nullptr;
}

void place(qt::FrameWidget* frame, const WindowPlacement& placement) {
    frame->resize(placement.width == use_default ? default_width : placement.width,
                  placement.height == use_default ? default_height : placement.height);
    if (placement.x != use_default && placement.y != use_default) {
        frame->move(placement.x, placement.y);
    }
    frame->place_children();
}

}  // namespace

void register_class(const WindowClass& window_class) {
    window_classes()[qt::resource_key(window_class.name)] = window_class;
}

Window* create_window(std::string_view class_name, std::string_view title, Window* owner,
                      const WindowPlacement& placement, bool visible) {
    auto found = window_classes().find(qt::resource_key(class_name));
    if (found == window_classes().end() || !qobject_cast<QApplication*>(qApp)) {
        return nullptr;
    }
    auto* window = new qt::WidgetWindow(found->second, std::string(title), live_window(owner));
    if (QMenuBar* bar = qt::build_menu_bar(found->second.menu_name, window)) {
        window->frame()->set_menu_bar(bar);
    }
    place(window->frame(), placement);
    window->client_resized(window->client_widget()->size());
    if (visible) {
        show_window(window);
    }
    return window;
}

void show_window(Window* window) {
    if (qt::WidgetWindow* screen_window = live_window(window)) {
        // A window shown is the one the keyboard goes to, also where no window manager
        // hands out the focus.
        screen_window->frame()->show();
        screen_window->frame()->activateWindow();
    }
}

void bring_to_front(Window* window) {
    if (qt::WidgetWindow* screen_window = live_window(window)) {
        qt::FrameWidget* frame = screen_window->frame();
        if (frame->isMinimized()) {
            frame->showNormal();
        }
        frame->raise();
        frame->activateWindow();
    }
}

void destroy_window(Window* window) {
    if (qt::WidgetWindow* screen_window = live_window(window)) {
        screen_window->destroy();
    }
}

std::intptr_t send_message(Window* window, unsigned message, std::uintptr_t wparam,
                           std::intptr_t lparam) {
    qt::WidgetWindow* screen_window = live_window(window);
    return screen_window != nullptr ? screen_window->dispatch(message, wparam, lparam) : 0;
}

void set_timer(Window* window, std::uintptr_t id, int milliseconds) {
    if (qt::WidgetWindow* screen_window = live_window(window)) {
        screen_window->set_timer(id, milliseconds);
    }
}

void kill_timer(Window* window, std::uintptr_t id) {
    if (qt::WidgetWindow* screen_window = live_window(window)) {
        screen_window->kill_timer(id);
    }
}

std::string window_title(const Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    return screen_window != nullptr ? screen_window->title : std::string();
}

Rect window_rect(const Window* window) {
    qt::WidgetWindow* screen_window = live_window(window);
    if (screen_window == nullptr) {
        return {};
    }
    QRect frame = screen_window->frame()->frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}

bool is_visible(const Window* window) {
    qt::WidgetWindow* screen_window = live_window(window);
    return screen_window != nullptr && screen_window->frame()->isVisible();
}

Window* window_owner(const Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    return screen_window != nullptr ? screen_window->owner() : nullptr;
}

std::vector<Window*> live_windows() {
    return {qt::screen_windows().begin(), qt::screen_windows().end()};
}

}  // namespace toven::platform
