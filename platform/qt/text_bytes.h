// The program's text is bytes: UTF-8 where it is valid UTF-8, otherwise one character a
// byte (Latin-1), so no byte is ever lost or shown as a substitute.
#pragma once

#include <QString>
#include <string_view>

namespace toven::platform::qt {

QString text_from_bytes(std::string_view bytes);

// The text with each character XML 1.0 does not allow (control characters other than tab,
// line feed and carriage return; U+FFFE, U+FFFF; a surrogate without its partner) replaced by
// U+FFFD, so that an SVG page stays XML and still shows a mark where the image shows the
// font's box for a character it cannot draw.
QString xml_characters(const QString& text);

}  // namespace toven::platform::qt
