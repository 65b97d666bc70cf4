#include "tests/support/live_input.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>

#include "platform/qt/controls.h"
#include "platform/qt/device_pixels.h"
#include "platform/qt/widget_window.h"

namespace toven::platform::inject {

namespace {

QWidget* client_of(Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    return screen_window != nullptr ? screen_window->client_widget() : nullptr;
}

QPointF screen_position(QWidget* client, Point pixel) {
    return qt::to_screen_units(pixel, client->devicePixelRatioF());
}

QMouseEvent* mouse_event(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
                         Qt::MouseButtons held) {
    return new QMouseEvent(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
}

// Sends the event, then runs the event loop's round that delivers the input it may have left
// waiting for the window's procedure.
void deliver(QWidget* target, QEvent* event, QWidget* client) {
    QApplication::sendEvent(target, event);
    delete event;
    QCoreApplication::sendPostedEvents(client, QEvent::MetaCall);
}

// Where a person's key goes: the control that has the window's keyboard, else the window.
QWidget* keyboard_target(Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    if (screen_window == nullptr || screen_window->destroyed()) {
        return nullptr;
    }
    QWidget* frame = screen_window->frame();
    return frame->focusWidget() != nullptr ? frame->focusWidget() : frame;
}

Qt::KeyboardModifiers modifiers(bool shift) {
    return shift ? Qt::ShiftModifier : Qt::NoModifier;
}

void right_button(Window* window, QEvent::Type type, Point at, Qt::MouseButtons held) {
    if (QWidget* client = client_of(window)) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton;
        deliver(client, mouse_event(client, type, screen_position(client, at), button, held),
                client);
    }
}

int qt_key(NavigationKey key) {
    switch (key) {
        case NavigationKey::left:
            return Qt::Key_Left;
        case NavigationKey::up:
            return Qt::Key_Up;
        case NavigationKey::right:
            return Qt::Key_Right;
        case NavigationKey::down:
            return Qt::Key_Down;
        case NavigationKey::home:
            return Qt::Key_Home;
        case NavigationKey::end:
            return Qt::Key_End;
        case NavigationKey::tab:
            return Qt::Key_Tab;
    }
    return 0;
}

// QSlider lays itself out through a protected call; naming it through a class that makes it
// public gives a pointer callable on any slider.
struct SliderLayout : QSlider {
    using QSlider::initStyleOption;
};

QRect slider_part(const QSlider* slider, const QStyleOptionSlider& option,
                  QStyle::SubControl part) {
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, part, slider);
}

}  // namespace

void press_right(Window* window, Point at) {
    right_button(window, QEvent::MouseButtonPress, at, Qt::RightButton);
}

void drag_right(Window* window, Point to) {
    right_button(window, QEvent::MouseMove, to, Qt::RightButton);
}

void release_right(Window* window, Point at) {
    right_button(window, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void queue_moves(Window* window, const std::vector<Point>& positions) {
    if (QWidget* client = client_of(window)) {
        for (Point at : positions) {
            QCoreApplication::postEvent(
                client, mouse_event(client, QEvent::MouseMove, screen_position(client, at),
                                    Qt::NoButton, Qt::NoButton));
        }
    }
}

void queue_right_press(Window* window, Point at) {
    if (QWidget* client = client_of(window)) {
        QCoreApplication::postEvent(
            client, mouse_event(client, QEvent::MouseButtonPress, screen_position(client, at),
                                Qt::RightButton, Qt::RightButton));
    }
}

void press_key(Window* window, NavigationKey key, bool shift) {
    if (QWidget* target = keyboard_target(window)) {
        QWidget* client = client_of(window);
        deliver(target, new QKeyEvent(QEvent::KeyPress, qt_key(key), modifiers(shift)), client);
        deliver(target, new QKeyEvent(QEvent::KeyRelease, qt_key(key), modifiers(shift)), client);
    }
}

void queue_held_key(Window* window, NavigationKey key, int repeats, bool shift) {
    QWidget* target = keyboard_target(window);
    for (int i = 0; target != nullptr && i < repeats; ++i) {
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, qt_key(key),
                                                          modifiers(shift), QString(), true));
    }
}

// Pressed at the thumb's middle and moved by the pixels between the two positions, the thumb
// lands on `to` whenever each step of the range has a pixel of its own.
void drag_slider(Control* control, int to) {
    if (control == nullptr || control->kind != ControlKind::slider) {
        return;
    }
    auto* slider = static_cast<QSlider*>(control->widget);
    QStyleOptionSlider option;
    const auto lay_out = &SliderLayout::initStyleOption;
    (slider->*lay_out)(&option);
    const QRect groove = slider_part(slider, option, QStyle::SC_SliderGroove);
    const QRect thumb = slider_part(slider, option, QStyle::SC_SliderHandle);
    const int span = groove.width() - thumb.width();
    const int from_x = QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(),
                                                       slider->sliderPosition(), span);
    const int to_x =
        QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(), to, span);
    const QPointF start = QRectF(thumb).center();
    const QPointF end = start + QPointF(to_x - from_x, 0);
    QWidget* client = control->parent->client_widget();
    deliver(slider,
            mouse_event(slider, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton),
            client);
    deliver(slider, mouse_event(slider, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton),
            client);
    deliver(slider,
            mouse_event(slider, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton),
            client);
}

std::string screen_reader_name(const Control* control) {
    QAccessibleInterface* reader =
        control != nullptr ? QAccessible::queryAccessibleInterface(control->widget) : nullptr;
    return reader != nullptr ? reader->text(QAccessible::Name).toStdString() : std::string();
}

// Not a nested event loop: once a shell's main window has gone, its quit stops every new
// loop at once, until the application's own loop runs again. The deadline's timer wakes the
// wait for events when nothing else does.
int process_events_for(int milliseconds) {
    QElapsedTimer passed;
    passed.start();
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(milliseconds);
    while (deadline.isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return static_cast<int>(passed.elapsed());
}

}  // namespace toven::platform::inject
