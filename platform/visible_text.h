// Text from files and arguments made safe to echo in a message: a crafted name or picture
// must not send a terminal its escapes, nor fill the screen.
#pragma once

#include <string>
#include <string_view>

namespace toven::platform {

// `text` for a message: control characters, malformed UTF-8 and C1 controls shown as escapes
// (\t, \r, \xHH), cut to about `most` characters with "..." after the cut.
std::string visible_text(std::string_view text, std::size_t most = 80);

// visible_text(text) in double quotes, the way a message echoes a value.
std::string quoted(std::string_view text);

// A file's path in double quotes: whole up to the longest path the system opens, since the
// file's own name is at its end.
std::string quoted_path(std::string_view path);

}  // namespace toven::platform
