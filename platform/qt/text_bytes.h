// The program's text is bytes: UTF-8 where it is valid UTF-8, otherwise one character a
// byte (Latin-1), so no byte is ever lost or shown as a substitute.
#pragma once

#include <QString>
#include <string_view>

namespace toven::platform::qt {

QString text_from_bytes(std::string_view bytes);

}  // namespace toven::platform::qt
