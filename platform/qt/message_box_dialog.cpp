// Message boxes as modal Qt dialogs, unless a test seam answers them.
#include "platform/message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "platform/qt/message_box_dialog.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_owner.h"
#include "platform/seam_answers.h"
#include "platform/window.h"

namespace toven::platform {

namespace qt {

bool can_show_dialogs() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

}  // namespace qt

namespace {

using qt::owner_widget;
using qt::text_from_bytes;

// A title bar as window managers draw it: the caption in a bold face, beside the window menu,
// minimise, maximise and close buttons, each about as wide as the bar is high.
constexpr int title_bar_buttons = 4;
constexpr int title_button_padding = 8;
constexpr int title_bar_margins = 16;

// Qt sizes a box for its text and buttons and leaves the title little room; the box's layout
// gets an empty row as wide as the whole caption needs, as the old system sized its boxes.
void make_room_for_caption(QMessageBox& box, const std::string& caption) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int inside =
        title_bar_width(caption) - grid->contentsMargins().left() - grid->contentsMargins().right();
    grid->addItem(new QSpacerItem(inside, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

MessageBoxAnswer show_message_box(Window* owner, const std::string& text,
                                  const std::string& caption, MessageBoxButtons buttons) {
    QMessageBox box(owner_widget(owner));
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(text_from_bytes(caption));
    box.setText(text_from_bytes(text));
    box.setTextFormat(Qt::PlainText);
    make_room_for_caption(box, caption);
    if (buttons == MessageBoxButtons::yes_no) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageBoxAnswer::yes : MessageBoxAnswer::no;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageBoxAnswer::ok;
}

}  // namespace

int title_bar_width(const std::string& caption) {
    QFont font = qt::can_show_dialogs() ? QApplication::font("QMdiSubWindowTitleBar")
                                        : QGuiApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int button = metrics.height() + title_button_padding;
    return metrics.horizontalAdvance(text_from_bytes(caption)) + title_bar_buttons * button +
           title_bar_margins;
}

MessageBoxAnswer message_box(Window* owner, const std::string& text, const std::string& caption,
                             MessageBoxButtons buttons) {
    if (seam_answers::message_box_live()) {
        return seam_answers::message_box({owner, text, caption, buttons});
    }
    if (!qt::can_show_dialogs()) {
        return default_answer(buttons);
    }
    return show_message_box(owner, text, caption, buttons);
}

}  // namespace toven::platform
