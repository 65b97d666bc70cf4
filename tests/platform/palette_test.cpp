#include "platform/palette.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace toven::platform {
namespace {

// Colours 0..count-1, each twice in a row, then colour 0 again.
std::vector<std::uint32_t> colours(std::uint32_t count) {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t c = 0; c < count; ++c) {
        pixels.insert(pixels.end(), {c * 0x010101u, c * 0x010101u});
    }
    pixels.push_back(0);
    return pixels;
}

TEST(Palette, HoldsUpToItsLimitInOrderOfFirstAppearance) {
    struct Case {
        std::uint32_t count;
        bool indexed;
    } cases[] = {
        {1, true}, {2, true}, {max_palette_colours, true}, {max_palette_colours + 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const std::vector<std::uint32_t> pixels = colours(c.count);
        const auto indexed = index_colours(pixels);
        ASSERT_EQ(indexed.has_value(), c.indexed);
        if (!indexed) {
            continue;
        }
        ASSERT_EQ(indexed->palette.size(), c.count);
        ASSERT_EQ(indexed->indices.size(), pixels.size());
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            EXPECT_EQ(indexed->palette[indexed->indices[i]], pixels[i]) << "pixel " << i;
        }
        EXPECT_EQ(indexed->indices[pixels.size() - 2], c.count - 1);
    }
}

}  // namespace
}  // namespace toven::platform
