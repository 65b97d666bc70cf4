// The save dialog as Qt's, the desktop's own where it offers one, unless a test seam answers
// it.
#include "platform/file_dialog.h"

#include <QFile>
#include <QFileDialog>

#include "platform/qt/message_box_dialog.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_owner.h"

namespace toven::platform {

namespace {

using qt::owner_widget;
using qt::text_from_bytes;

// "PNG image (*.png)"
QString name_filter(const FileType& type) {
    return text_from_bytes(type.description) + QStringLiteral(" (*.") +
           QString::fromStdString(type.extension) + QLatin1Char(')');
}

// Needs a session with widgets.
std::optional<std::string> show_save_dialog(Window* owner, const std::string& caption,
                                            const std::string& suggested_name,
                                            const std::vector<FileType>& types) {
    QFileDialog dialog(owner_widget(owner), text_from_bytes(caption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FileType& type : types) {
        filters.push_back(name_filter(type));
    }
    dialog.setNameFilters(filters);
    // The dialog adds the chosen type's extension to a name that has none before it asks
    // whether to replace an existing file, so the question is about the file written.
    const auto use_type = [&dialog, &filters, &types](const QString& filter) {
        const qsizetype chosen = filters.indexOf(filter);
        if (chosen >= 0) {
            dialog.setDefaultSuffix(QString::fromStdString(types[chosen].extension));
        }
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, use_type);
    if (!filters.isEmpty()) {
        use_type(filters.front());
    }
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(suggested_name)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

}  // namespace

std::optional<std::string> ask_save_path(Window* owner, const std::string& caption,
                                         const std::string& suggested_name,
                                         const std::vector<FileType>& types) {
    if (FileDialogSeam::live()) {
        return FileDialogSeam::answer({owner, caption, suggested_name, types});
    }
    if (!qt::can_show_dialogs()) {
        return std::nullopt;
    }
    return show_save_dialog(owner, caption, suggested_name, types);
}

}  // namespace toven::platform
