#include "platform/qt/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <string>

#include "platform/qt/resource_name.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_window.h"
#include "platform/window_system.h"

namespace toven::platform {

namespace {

std::map<std::string, std::vector<MenuItem>>& menu_resources() {
    static std::map<std::string, std::vector<MenuItem>> resources;
    return resources;
}

// The command number travels in the action's data, so tests and people choose the same item.
QAction* command_action(const MenuItem& item, QObject* parent, qt::WidgetWindow* window) {
    auto* action = new QAction(qt::text_from_bytes(item.text), parent);
    action->setData(item.command);
    const int command = item.command;
    QObject::connect(action, &QAction::triggered, [window, command] {
        window->dispatch(WM_COMMAND, make_wparam(command, 0), 0);
    });
    return action;
}

void add_popup_items(QMenu* menu, const std::vector<MenuItem>& items, qt::WidgetWindow* window) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
        } else if (!item.popup.empty()) {
            add_popup_items(menu->addMenu(qt::text_from_bytes(item.text)), item.popup, window);
        } else {
            menu->addAction(command_action(item, menu, window));
        }
    }
}

}  // namespace

void register_menu_resource(std::string_view name, std::vector<MenuItem> items) {
    menu_resources()[qt::resource_key(name)] = std::move(items);
}

namespace qt {

QMenuBar* build_menu_bar(std::string_view resource_name, WidgetWindow* window) {
    auto found = menu_resources().find(qt::resource_key(resource_name));
    if (found == menu_resources().end()) {
        return nullptr;
    }
    auto* bar = new QMenuBar;
    // The bar belongs to its window on every platform, never to a global application menu.
    bar->setNativeMenuBar(false);
    for (const MenuItem& item : found->second) {
        if (item.separator) {
            bar->addSeparator();
        } else if (!item.popup.empty()) {
            add_popup_items(bar->addMenu(text_from_bytes(item.text)), item.popup, window);
        } else {
            bar->addAction(command_action(item, bar, window));
        }
    }
    return bar;
}

}  // namespace qt

}  // namespace toven::platform
