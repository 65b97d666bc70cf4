#include "tests/support/event_injection.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdint>

#include "platform/qt/controls.h"
#include "platform/qt/device_pixels.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_window.h"

namespace toven::platform::inject {

namespace {

QWidget* client_of(Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    return screen_window != nullptr ? screen_window->client_widget() : nullptr;
}

// Events carry the time they were made, in milliseconds of a steady clock.
std::uint64_t now_ms() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

void send_mouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
                Qt::MouseButtons held, std::uint64_t made_at = now_ms()) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    event.setTimestamp(made_at);
    QApplication::sendEvent(target, &event);
    // A move waits for the event loop's next round, which a person's move always sees.
    QCoreApplication::sendPostedEvents(target, QEvent::MetaCall);
}

// A client-area pixel as the window system reports it: the screen position of its corner.
QPointF screen_position(QWidget* client, Point pixel) {
    return qt::to_screen_units(pixel, client->devicePixelRatioF());
}

void press_and_release(QWidget* target, QPointF at, std::uint64_t made_at = now_ms()) {
    send_mouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, made_at);
    send_mouse(target, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, made_at);
}

void send_key(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

QMenuBar* menu_bar_of(Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    if (screen_window == nullptr || screen_window->destroyed()) {
        return nullptr;
    }
    return screen_window->frame()->menu_bar();
}

QAction* find_command(const QList<QAction*>& actions, int command) {
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu()) {
            if (QAction* found = find_command(menu->actions(), command)) {
                return found;
            }
        } else if (!action->isSeparator() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

void outline(const QList<QAction*>& actions, const std::string& indent,
             std::vector<std::string>& lines) {
    for (QAction* action : actions) {
        const std::string text = action->text().toStdString();
        if (action->isSeparator()) {
            lines.push_back(indent + "-");
        } else if (QMenu* menu = action->menu()) {
            lines.push_back(indent + text);
            outline(menu->actions(), indent + "  ", lines);
        } else {
            lines.push_back(indent + text + " " + std::to_string(action->data().toInt()));
        }
    }
}

// Brings a list line into view and gives the point at its middle, in viewport coordinates.
QPoint line_centre(QListWidget* list, int line) {
    QListWidgetItem* item = list->item(line);
    list->scrollToItem(item);
    return list->visualItemRect(item).center();
}

// How long answer_next_message_box looks for the box, in rounds of the event loop.
constexpr int box_look_rounds = 100;

QMessageBox* shown_message_box() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

void read_and_answer(QMessageBox* box, MessageBoxAnswer answer, ScreenMessageBox& seen) {
    seen.caption = box->windowTitle().toStdString();
    seen.text = box->text().toStdString();
    seen.width = box->width();
    QList<QAbstractButton*> buttons = box->buttons();
    std::ranges::sort(buttons, [](const QAbstractButton* a, const QAbstractButton* b) {
        return a->x() < b->x();
    });
    for (const QAbstractButton* button : buttons) {
        seen.buttons.push_back(button->text().toStdString());
    }
    const QMessageBox::StandardButton wanted = answer == MessageBoxAnswer::yes  ? QMessageBox::Yes
                                               : answer == MessageBoxAnswer::no ? QMessageBox::No
                                                                                : QMessageBox::Ok;
    if (QAbstractButton* button = box->button(wanted)) {
        button->click();
    }
}

// Looks for the box again on each round of the event loop: the box's own loop runs the rounds
// once it is shown.
void answer_when_shown(MessageBoxAnswer answer, ScreenMessageBox& seen, int rounds_left) {
    QTimer::singleShot(0, [answer, &seen, rounds_left] {
        QMessageBox* box = shown_message_box();
        if (box != nullptr && box->isVisible()) {
            read_and_answer(box, answer, seen);
        } else if (rounds_left > 0) {
            answer_when_shown(answer, seen, rounds_left - 1);
        }
    });
}

}  // namespace

void answer_next_message_box(MessageBoxAnswer answer, ScreenMessageBox& seen) {
    answer_when_shown(answer, seen, box_look_rounds);
}

void click(Window* window, Point at) {
    if (QWidget* client = client_of(window)) {
        press_and_release(client, screen_position(client, at));
    }
}

void click_made_earlier(Window* window, Point at, int milliseconds) {
    if (QWidget* client = client_of(window)) {
        press_and_release(client, screen_position(client, at),
                          now_ms() - static_cast<std::uint64_t>(milliseconds));
    }
}

void move_mouse(Window* window, Point to) {
    if (QWidget* client = client_of(window)) {
        send_mouse(client, QEvent::MouseMove, screen_position(client, to), Qt::NoButton,
                   Qt::NoButton);
    }
}

void drag_mouse(Window* window, Point to) {
    if (QWidget* client = client_of(window)) {
        send_mouse(client, QEvent::MouseMove, screen_position(client, to), Qt::NoButton,
                   Qt::LeftButton);
    }
}

void close(Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    if (screen_window != nullptr && !screen_window->destroyed()) {
        screen_window->frame()->close();
    }
}

void resize(Window* window, int width, int height) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    if (screen_window != nullptr && !screen_window->destroyed()) {
        // A person resizes a window as it shows on the screen.
        process_events();
        screen_window->frame()->resize(width, height);
        process_events();
    }
}

bool choose_menu_command(Window* window, int command) {
    QMenuBar* bar = menu_bar_of(window);
    QAction* action = bar != nullptr ? find_command(bar->actions(), command) : nullptr;
    if (action == nullptr) {
        return false;
    }
    action->trigger();
    return true;
}

std::vector<std::string> menu_outline(Window* window) {
    std::vector<std::string> lines;
    if (QMenuBar* bar = menu_bar_of(window)) {
        outline(bar->actions(), "", lines);
    }
    return lines;
}

void click(Control* button) {
    if (button != nullptr) {
        press_and_release(button->widget, button->widget->rect().center());
    }
}

void click_line(Control* list, int line) {
    if (list == nullptr || list->kind != ControlKind::list_box) {
        return;
    }
    auto* widget = static_cast<QListWidget*>(list->widget);
    if (line >= 0 && line < widget->count()) {
        press_and_release(widget->viewport(), line_centre(widget, line));
    }
}

// Item views act on a double click only after the press and release of its first click.
void double_click_line(Control* list, int line) {
    if (list == nullptr || list->kind != ControlKind::list_box) {
        return;
    }
    auto* widget = static_cast<QListWidget*>(list->widget);
    if (line < 0 || line >= widget->count()) {
        return;
    }
    const QPoint at = line_centre(widget, line);
    QWidget* viewport = widget->viewport();
    press_and_release(viewport, at);
    send_mouse(viewport, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    send_mouse(viewport, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void type_text(Control* edit, std::string_view text) {
    if (edit == nullptr) {
        return;
    }
    for (QChar character : qt::text_from_bytes(text)) {
        send_key(edit->widget, character.toUpper().unicode(), Qt::NoModifier, QString(character));
    }
}

void press_key(Control* edit, Key key) {
    if (edit == nullptr) {
        return;
    }
    switch (key) {
        case Key::backspace:
            send_key(edit->widget, Qt::Key_Backspace, Qt::NoModifier, {});
            break;
        case Key::home:
            send_key(edit->widget, Qt::Key_Home, Qt::NoModifier, {});
            break;
        case Key::end:
            send_key(edit->widget, Qt::Key_End, Qt::NoModifier, {});
            break;
        case Key::select_all:
            send_key(edit->widget, Qt::Key_A, Qt::ControlModifier, {});
            break;
        case Key::enter:
            send_key(edit->widget, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            break;
    }
}

// The grip is the strip along the outer widget's right edge that the control leaves free.
void drag_sizing_border(Control* control, int by) {
    if (control == nullptr || control->outer == control->widget) {
        return;
    }
    QWidget* grip = control->outer;
    const QPoint start(grip->width() - 2, grip->height() / 2);
    send_mouse(grip, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send_mouse(grip, QEvent::MouseMove, start + QPoint(by, 0), Qt::NoButton, Qt::LeftButton);
    send_mouse(grip, QEvent::MouseButtonRelease, start + QPoint(by, 0), Qt::LeftButton,
               Qt::NoButton);
    process_events();
}

// Measured rather than asked: fontconfig calls some fixed-pitch faces (those with a few wide
// glyphs) proportional.
bool control_font_is_fixed_pitch(const Control* control) {
    if (control == nullptr) {
        return false;
    }
    const QFontMetrics metrics(control->widget->font());
    return metrics.horizontalAdvance(QLatin1Char('i')) ==
           metrics.horizontalAdvance(QLatin1Char('W'));
}

Window* window_manager_owner(const Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    if (screen_window == nullptr || screen_window->destroyed()) {
        return nullptr;
    }
    // X11 window managers are told of a transient parent only for windows of the dialog kind.
    const QWindow* handle = screen_window->frame()->windowHandle();
    const bool kept_with_owner = handle != nullptr && handle->type() == Qt::Dialog;
    const QWindow* parent = kept_with_owner ? handle->transientParent() : nullptr;
    for (qt::WidgetWindow* other : qt::screen_windows()) {
        if (parent != nullptr && other->frame()->windowHandle() == parent) {
            return other;
        }
    }
    return nullptr;
}

Extent backing_image_size(const Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    if (screen_window == nullptr) {
        return {};
    }
    const QSize size = screen_window->image_size();
    return {size.width(), size.height()};
}

Window* keyboard_window() {
    const QWidget* active = QApplication::activeWindow();
    for (qt::WidgetWindow* window : qt::screen_windows()) {
        if (active != nullptr && window->frame() == active) {
            return window;
        }
    }
    return nullptr;
}

bool shows_busy_cursor(const Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    return screen_window != nullptr && !screen_window->destroyed() &&
           screen_window->frame()->cursor().shape() == Qt::WaitCursor;
}

Image shown_on_screen(const Window* window) {
    qt::WidgetWindow* screen_window = qt::widget_window(window);
    Image result;
    if (screen_window == nullptr || screen_window->destroyed()) {
        return result;
    }
    const QImage shown =
        screen_window->client_widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    result.width = shown.width();
    result.height = shown.height();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb pixel = shown.pixel(x, y);
            result.pixels.push_back(rgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
        }
    }
    return result;
}

void process_events() {
    // A deletion or a paint may post further events; a few rounds see them through.
    constexpr int rounds = 3;
    for (int round = 0; round < rounds; ++round) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::sendPostedEvents();
    }
}

}  // namespace toven::platform::inject
