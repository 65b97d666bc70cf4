#include "platform/utf8.h"

namespace toven::platform {

Utf8Character decode_utf8(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    // 0xC0 and 0xC1 could only start overlong forms, and from 0xF5 on past U+10FFFF.
    if (lead < 0xC2 || lead > 0xF4) {
        return {};
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (text.size() < length) {
        return {};
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return {};
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < smallest[length] || surrogate || code > 0x10FFFF) {
        return {};
    }
    return {code, length};
}

}  // namespace toven::platform
