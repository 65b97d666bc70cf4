#include "platform/qt/message_box_dialog.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_owner.h"
#include "platform/window.h"

namespace toven::platform::qt {

namespace {

QWidget* parent_widget(Window* owner) {
    auto* widget_owner = dynamic_cast<WidgetOwner*>(owner);
    return widget_owner != nullptr ? widget_owner->widget() : nullptr;
}

}  // namespace

bool can_show_dialogs() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

MessageBoxAnswer show_message_box(Window* owner, const std::string& text,
                                  const std::string& caption, MessageBoxButtons buttons) {
    QMessageBox box(parent_widget(owner));
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(text_from_bytes(caption));
    box.setText(text_from_bytes(text));
    box.setTextFormat(Qt::PlainText);
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

}  // namespace toven::platform::qt
