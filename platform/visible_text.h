// Text from files and arguments made safe to echo in a message: a crafted name or picture
// must not send a terminal its escapes, nor fill the screen.
#pragma once

#include <string>
#include <string_view>

namespace toven::platform {

// `text` for a message: control characters, malformed UTF-8 and C1 controls shown as escapes
// (\t, \r, \xHH), cut to about 80 characters with "..." after the cut.
std::string visible_text(std::string_view text);

// visible_text(text) in double quotes, the way a message echoes a value.
std::string quoted(std::string_view text);

}  // namespace toven::platform
