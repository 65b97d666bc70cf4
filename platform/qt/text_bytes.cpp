#include "platform/qt/text_bytes.h"

#include <QStringDecoder>

namespace toven::platform::qt {

namespace {

bool is_ascii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString text_from_bytes(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    if (is_ascii(bytes)) {
        return QString::fromLatin1(bytes.data(), size);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes.data(), size));
    if (decoder.hasError()) {
        return QString::fromLatin1(bytes.data(), size);
    }
    return text;
}

}  // namespace toven::platform::qt
