#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string_view>

namespace toven::platform {
namespace {

TEST(Utf8, DecodesTheFirstCharacterOrNone) {
    struct Case {
        const char* name;
        std::string_view text;
        char32_t code;
        std::size_t length;
    } cases[] = {
        {"ascii", "a", U'a', 1},
        {"two_bytes", "\xC3\xA9x", 0xE9, 2},
        {"three_bytes", "\xE2\x82\xAC", 0x20AC, 3},
        {"four_bytes_last", "\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
        {"empty", "", 0, 0},
        {"continuation_alone", "\x80", 0, 0},
        {"overlong_two", "\xC1\xBF", 0, 0},
        {"overlong_three", "\xE0\x9F\xBF", 0, 0},
        {"overlong_four", "\xF0\x8F\xBF\xBF", 0, 0},
        {"surrogate", "\xED\xA0\x80", 0, 0},
        {"beyond_unicode", "\xF4\x90\x80\x80", 0, 0},
        {"cut_short", "\xE2\x82", 0, 0},
        {"bad_continuation", "\xE2\x28\xA1", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Utf8Character decoded = decode_utf8(c.text);
        EXPECT_EQ(decoded.length, c.length);
        if (c.length > 0) {
            EXPECT_EQ(decoded.code, c.code);
        }
    }
}

}  // namespace
}  // namespace toven::platform
