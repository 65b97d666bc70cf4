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

QString xml_characters(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept += c;
            kept += text[++i];
            continue;
        }
        const bool allowed = code == u'\t' || code == u'\n' || code == u'\r' ||
                             (code >= 0x20 && !c.isSurrogate() && code != 0xFFFE && code != 0xFFFF);
        kept += allowed ? c : QChar(QChar::ReplacementCharacter);
    }
    return kept;
}

}  // namespace toven::platform::qt
