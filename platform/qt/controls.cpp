#include "platform/qt/controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/programmer_error.h"
#include "platform/qt/device_pixels.h"
#include "platform/qt/font_resolver.h"
#include "platform/qt/sizing_grip.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_window.h"

namespace toven::platform {

namespace {

std::vector<Control*> live_controls;

// The inverse of text_from_bytes: one byte a character where that reads back the same,
// otherwise UTF-8.
std::string bytes_from_text(const QString& text) {
    QByteArray latin1 = text.toLatin1();
    std::string bytes(latin1.constData(), static_cast<std::size_t>(latin1.size()));
    if (qt::text_from_bytes(bytes) == text) {
        return bytes;
    }
    QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

// A text set from bytes keeps those bytes beside it, so that a text nobody changed reads
// back byte for byte, whichever encoding it came in.
const char* const bytes_property = "toven_bytes";

QVariant kept_bytes(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string read_back(const QString& text, const QVariant& kept) {
    const QByteArray original = kept.toByteArray();
    const std::string_view bytes(original.constData(), static_cast<std::size_t>(original.size()));
    if (kept.isValid() && qt::text_from_bytes(bytes) == text) {
        return std::string(bytes);
    }
    return bytes_from_text(text);
}

// List lines one font height apart, as the old list box set them, so a list sized in lines
// shows that many.
class CompactRows final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(option.fontMetrics.height());
        return size;
    }
};

// A list box that takes Enter on its highlighted line as the choice a double click makes, so
// the lines can be chosen without a mouse.
class ListBox final : public QListWidget {
  public:
    using QListWidget::QListWidget;
    std::function<void()> chosen_by_key;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && currentItem() != nullptr && chosen_by_key) {
            chosen_by_key();
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

QListWidget* as_list(const Control* control) {
    TOVEN_EXPECT(control != nullptr && control->kind == ControlKind::list_box,
                 "the list calls take a list box made by create_control");
    return static_cast<QListWidget*>(control->widget);
}

QLineEdit* as_edit(const Control* control) {
    TOVEN_EXPECT(control != nullptr && control->kind == ControlKind::edit,
                 "the edit calls take an edit made by create_control");
    return static_cast<QLineEdit*>(control->widget);
}

// The widget of a control that shows a text of its own: an edit or a button.
QWidget* text_widget(const Control* control) {
    TOVEN_EXPECT(control != nullptr && (control->kind == ControlKind::edit ||
                                        control->kind == ControlKind::push_button),
                 "control texts belong to an edit or a button made by create_control");
    return control->widget;
}

QWidget* widget_of(const Control* control) {
    TOVEN_EXPECT(control != nullptr, "a control call takes a control made by create_control");
    return control->widget;
}

QWidget* make_widget(ControlKind kind, QWidget* client, std::string_view text) {
    switch (kind) {
        case ControlKind::list_box: {
            auto* list = new ListBox(client);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            // A line wider than the list is cut at its edge and shows whole once the list is
            // widened; it is never shortened with an ellipsis.
            list->setTextElideMode(Qt::ElideNone);
            list->setItemDelegate(new CompactRows(list));
            return list;
        }
        case ControlKind::edit:
            return new QLineEdit(qt::text_from_bytes(text), client);
        case ControlKind::push_button:
            return new QPushButton(qt::text_from_bytes(text), client);
        case ControlKind::slider: {
            QWidget* slider = qt::make_slider(client);
            slider->setAccessibleName(qt::text_from_bytes(text));
            return slider;
        }
    }
    return nullptr;
}

// One Qt signal, one notification.
void connect_notifications(Control* control) {
    auto notify = [control](unsigned code) { return [control, code] { control->notify(code); }; };
    switch (control->kind) {
        case ControlKind::list_box:
            control->connections.push_back(QObject::connect(
                as_list(control), &QListWidget::itemDoubleClicked, notify(LBN_DBLCLK)));
            static_cast<ListBox*>(as_list(control))->chosen_by_key = notify(LBN_DBLCLK);
            return;
        case ControlKind::edit:
            control->connections.push_back(
                QObject::connect(as_edit(control), &QLineEdit::textChanged, notify(EN_UPDATE)));
            return;
        case ControlKind::push_button:
            control->connections.push_back(
                QObject::connect(static_cast<QPushButton*>(control->widget), &QPushButton::clicked,
                                 notify(BN_CLICKED)));
            return;
        case ControlKind::slider:
            qt::connect_slider(control);
            return;
    }
}

}  // namespace

Control::Control(ControlKind control_kind, qt::WidgetWindow* parent_window, QWidget* control_widget)
    : kind(control_kind), parent(parent_window), widget(control_widget) {
    outer = widget;
    live_controls.push_back(this);
}

Control::~Control() {
    for (const QMetaObject::Connection& connection : connections) {
        QObject::disconnect(connection);
    }
    // The list outlives this control until its deferred deletion, and must not call back.
    if (kind == ControlKind::list_box) {
        static_cast<ListBox*>(as_list(this))->chosen_by_key = nullptr;
    }
    // The widget may be in the middle of the event that led here.
    outer->hide();
    outer->deleteLater();
    std::erase(live_controls, this);
}

void Control::notify(unsigned code) {
    parent->dispatch(WM_COMMAND, make_wparam(0, static_cast<int>(code)), control_handle(this));
}

void Control::notify_scroll(unsigned how, int position) {
    parent->input({WM_HSCROLL, make_wparam(static_cast<int>(how), position), control_handle(this),
                   QGuiApplication::keyboardModifiers()});
}

namespace {

// A window with controls gives the keyboard to them, and Tab goes from one to the next; its
// client area, which takes the keyboard in a window without them, is left out.
void give_keyboard_to_controls(QWidget* client, QWidget* first_control) {
    if (client->focusPolicy() == Qt::NoFocus) {
        return;
    }
    const bool had_keyboard = client->window()->focusWidget() == client;
    client->setFocusPolicy(Qt::NoFocus);
    if (had_keyboard) {
        first_control->setFocus();
    }
}

}  // namespace

Control* create_control(ControlKind kind, Window* parent, std::string_view text, const Rect& rect) {
    qt::WidgetWindow* window = qt::widget_window(parent);
    if (window == nullptr || window->destroyed()) {
        return nullptr;
    }
    QWidget* client = window->client_widget();
    QWidget* widget = make_widget(kind, client, text);
    widget->setProperty(bytes_property, kept_bytes(text));
    auto* control = new Control(kind, window, widget);
    // Lists and edits have sizing borders: the user widens them (and a list also lengthens)
    // by dragging their grips.
    if (kind == ControlKind::push_button || kind == ControlKind::slider) {
        control->outer = widget;
    } else {
        control->outer = new qt::SizingGrip(widget, client, kind == ControlKind::list_box);
    }
    // The data box lays its controls out in the window's device pixels; Qt places them in its
    // screen units, which on a scaled screen hold more than one pixel.
    control->outer->setGeometry(qt::to_screen_units(rect, client->devicePixelRatioF()));
    connect_notifications(control);
    control->outer->show();
    give_keyboard_to_controls(client, widget);
    return control;
}

void destroy_control(Control* control) {
    delete control;
}

std::intptr_t control_handle(const Control* control) {
    return reinterpret_cast<std::intptr_t>(control);
}

Rect control_rect(const Control* control) {
    TOVEN_EXPECT(control != nullptr, "a control call takes a control made by create_control");
    const QRectF r =
        qt::to_device_pixels(control->outer->geometry(), control->outer->devicePixelRatioF());
    return {static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top())),
            static_cast<int>(std::lround(r.right())), static_cast<int>(std::lround(r.bottom()))};
}

int list_insert(Control* list, int index, std::string_view text) {
    QListWidget* widget = as_list(list);
    if (index < -1 || index > widget->count()) {
        return -1;
    }
    int row = index == -1 ? widget->count() : index;
    auto* item = new QListWidgetItem(qt::text_from_bytes(text));
    item->setData(Qt::UserRole, kept_bytes(text));
    widget->insertItem(row, item);
    return row;
}

void list_delete(Control* list, int index) {
    QListWidget* widget = as_list(list);
    if (index >= 0 && index < widget->count()) {
        delete widget->takeItem(index);
    }
}

int list_count(const Control* list) {
    return as_list(list)->count();
}

void list_select(Control* list, int index) {
    QListWidget* widget = as_list(list);
    if (index < 0 || index >= widget->count()) {
        widget->clearSelection();
        return;
    }
    widget->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

int list_selection(const Control* list) {
    QListWidget* widget = as_list(list);
    QList<QListWidgetItem*> selected = widget->selectedItems();
    return selected.isEmpty() ? -1 : widget->row(selected.front());
}

std::string list_line(const Control* list, int index) {
    QListWidget* widget = as_list(list);
    if (index < 0 || index >= widget->count()) {
        return {};
    }
    const QListWidgetItem* item = widget->item(index);
    return read_back(item->text(), item->data(Qt::UserRole));
}

void set_control_text(Control* control, std::string_view text) {
    // The bytes go first: setting an edit's text notifies at once, and the procedure reads
    // the text back then.
    text_widget(control)->setProperty(bytes_property, kept_bytes(text));
    if (control->kind == ControlKind::edit) {
        as_edit(control)->setText(qt::text_from_bytes(text));
    } else {
        static_cast<QPushButton*>(control->widget)->setText(qt::text_from_bytes(text));
    }
}

std::string control_text(const Control* control) {
    const QVariant kept = text_widget(control)->property(bytes_property);
    if (control->kind == ControlKind::edit) {
        return read_back(as_edit(control)->text(), kept);
    }
    return read_back(static_cast<QPushButton*>(control->widget)->text(), kept);
}

void set_text_limit(Control* edit, int characters) {
    as_edit(edit)->setMaxLength(std::max(characters, 0));
}

void set_accessible_name(Control* control, std::string_view name) {
    widget_of(control)->setAccessibleName(qt::text_from_bytes(name));
}

void set_control_font(Control* control, const Font* font) {
    if (font == nullptr) {
        widget_of(control)->setFont(QFont());
        return;
    }
    qt::FontResolver resolver(widget_of(control));
    control->widget->setFont(resolver.resolve(font->description, font->fixed_pitch));
}

// In device pixels, like the rest of a data box's layout: the style measures in screen units.
int vertical_scroll_bar_width() {
    const int units = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return static_cast<int>(std::lround(units * qApp->devicePixelRatio()));
}

namespace qt {

void destroy_controls_of(WidgetWindow* window) {
    for (Control* control : std::vector<Control*>(live_controls)) {
        if (control->parent == window) {
            delete control;
        }
    }
}

}  // namespace qt

}  // namespace toven::platform
