#include "platform/visible_text.h"

#include <cstdio>

#include "platform/utf8.h"

namespace toven::platform {

namespace {

// The length of the UTF-8 character of two bytes or more at the start of `text` that a
// terminal prints (not a C1 control), or 0.
std::size_t printable_utf8_length(std::string_view text) {
    const platform::Utf8Character c = platform::decode_utf8(text);
    const bool c1_control = c.code >= 0x80 && c.code <= 0x9F;
    return c.length >= 2 && !c1_control ? c.length : 0;
}

}  // namespace

std::string visible_text(std::string_view text, std::size_t most) {
    const std::size_t before_cut = most - 3;
    std::string shown;
    std::size_t columns = 0;
    std::size_t cut = 0;  // the size of `shown` while it took no more than before_cut columns
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t utf8 = c >= 0x80 ? printable_utf8_length(text.substr(i)) : 0;
        if (c >= 0x20 && c < 0x7f) {
            shown += static_cast<char>(c);
            columns += 1;
        } else if (utf8 > 0) {
            shown.append(text.substr(i, utf8));
            columns += 1;
        } else {
            char escape[5];
            const int length = c == '\t'   ? std::snprintf(escape, sizeof escape, "\\t")
                               : c == '\r' ? std::snprintf(escape, sizeof escape, "\\r")
                                           : std::snprintf(escape, sizeof escape, "\\x%02x", c);
            shown.append(escape, static_cast<std::size_t>(length));
            columns += static_cast<std::size_t>(length);
        }
        i += utf8 > 0 ? utf8 : 1;
        if (columns > most) {
            shown.resize(cut);
            return shown + "...";
        }
        if (columns <= before_cut) {
            cut = shown.size();
        }
    }
    return shown;
}

std::string quoted(std::string_view text) {
    return '"' + visible_text(text) + '"';
}

std::string quoted_path(std::string_view path) {
    constexpr std::size_t longest_path = 4096;
    return '"' + visible_text(path, longest_path) + '"';
}

}  // namespace toven::platform
