// The save and open dialogs as Qt's, the desktop's own where it offers one, unless a test seam
// answers it.
#include "platform/file_dialog.h"

#include <QFile>
#include <QFileDialog>

#include "platform/qt/message_box_dialog.h"
#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_owner.h"
#include "platform/seam_answers.h"

namespace toven::platform {

namespace {

using qt::owner_widget;
using qt::text_from_bytes;

// "PNG image (*.png)", "Pictures (*.png *.svg)"
QString name_filter(const FileType& type) {
    QStringList patterns;
    for (const QString& extension :
         QString::fromStdString(type.extension).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        patterns.push_back(QStringLiteral("*.") + extension);
    }
    return text_from_bytes(type.description) + QStringLiteral(" (") +
           patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QStringList name_filters(const std::vector<FileType>& types) {
    QStringList filters;
    for (const FileType& type : types) {
        filters.push_back(name_filter(type));
    }
    return filters;
}

std::optional<std::string> chosen_file(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

// Needs a session with widgets.
std::optional<std::string> show_save_dialog(Window* owner, const std::string& caption,
                                            const std::string& suggested_name,
                                            const std::vector<FileType>& types) {
    QFileDialog dialog(owner_widget(owner), text_from_bytes(caption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = name_filters(types);
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
    return chosen_file(dialog);
}

// Needs a session with widgets.
std::optional<std::string> show_open_dialog(Window* owner, const std::string& caption,
                                            const std::vector<FileType>& types) {
    QFileDialog dialog(owner_widget(owner), text_from_bytes(caption));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(name_filters(types));
    return chosen_file(dialog);
}

}  // namespace

std::optional<std::string> ask_save_path(Window* owner, const std::string& caption,
                                         const std::string& suggested_name,
                                         const std::vector<FileType>& types) {
    if (seam_answers::file_dialog_live()) {
        return seam_answers::file_dialog({owner, caption, suggested_name, types});
    }
    if (!qt::can_show_dialogs()) {
        return std::nullopt;
    }
    return show_save_dialog(owner, caption, suggested_name, types);
}

std::optional<std::string> ask_open_path(Window* owner, const std::string& caption,
                                         const std::vector<FileType>& types) {
    if (seam_answers::file_dialog_live()) {
        return seam_answers::file_dialog({owner, caption, {}, types, true});
    }
    if (!qt::can_show_dialogs()) {
        return std::nullopt;
    }
    return show_open_dialog(owner, caption, types);
}

}  // namespace toven::platform
