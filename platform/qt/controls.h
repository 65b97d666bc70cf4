// Controls on Qt widgets: a list box is a QListWidget, an edit a QLineEdit, a button a
// QPushButton, each a child of its window's client area. Their signals become WM_COMMAND
// messages for the parent window's procedure. Internal to the platform layer.
#pragma once

#include <QMetaObject>
#include <QWidget>
#include <vector>

#include "platform/window_system.h"

namespace toven::platform {

namespace qt {
class WidgetWindow;
}

class Control {
  public:
    Control(ControlKind kind, qt::WidgetWindow* parent, QWidget* widget);
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Sends the parent's procedure WM_COMMAND with the notification code.
    void notify(unsigned code);

    const ControlKind kind;
    qt::WidgetWindow* const parent;
    QWidget* const widget;
    // What sits in the client area: the widget itself, or the sizing grip that holds it.
    QWidget* outer = nullptr;
    std::vector<QMetaObject::Connection> connections;
};

namespace qt {

// Destroys the controls still left in a window that goes.
void destroy_controls_of(WidgetWindow* window);

}  // namespace qt

}  // namespace toven::platform
