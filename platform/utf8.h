// UTF-8, the encoding of the program's text where it is text at all.
#pragma once

#include <cstddef>
#include <string_view>

namespace toven::platform {

struct Utf8Character {
    char32_t code = 0;
    std::size_t length = 0;  // in bytes; 0 where no character starts
};

// The character at the start of `text`. None (length 0) for an empty text, a byte that starts
// no character, a sequence cut short, an overlong form, a UTF-16 surrogate or a code point
// beyond Unicode.
Utf8Character decode_utf8(std::string_view text);

}  // namespace toven::platform
