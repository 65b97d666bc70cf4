#include "platform/qt/file_dialog_box.h"

#include <QFile>
#include <QFileDialog>

#include "platform/qt/text_bytes.h"
#include "platform/qt/widget_owner.h"

namespace toven::platform::qt {

namespace {

// "PNG image (*.png)"
QString name_filter(const FileType& type) {
    return text_from_bytes(type.description) + QStringLiteral(" (*.") +
           QString::fromStdString(type.extension) + QLatin1Char(')');
}

}  // namespace

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

}  // namespace toven::platform::qt
