// Controls on Qt widgets: a list box is a QListWidget, an edit a QLineEdit, a button a
// QPushButton, a slider a QSlider, each a child of its window's client area. Their signals
// become WM_COMMAND (WM_HSCROLL for a slider) messages for the parent window's procedure.
// Internal to the platform layer.
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
    // Tells the parent's procedure with WM_HSCROLL that the slider moved this way to this
    // position; a move made while the procedure is busy may stand for the ones before it.
    void notify_scroll(unsigned how, int position);

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

// The slider's widget, and the connections that turn its moves into WM_HSCROLL.
QWidget* make_slider(QWidget* client);
void connect_slider(Control* slider);

}  // namespace qt

}  // namespace toven::platform
