// Colours as the drawing services take them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

namespace toven::platform {

using ColourRef = std::uint32_t;

constexpr ColourRef rgb(int red, int green, int blue) {
    return static_cast<ColourRef>(red & 0xFF) | static_cast<ColourRef>(green & 0xFF) << 8 |
           static_cast<ColourRef>(blue & 0xFF) << 16;
}
constexpr int red_of(ColourRef colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int green_of(ColourRef colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blue_of(ColourRef colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}

}  // namespace toven::platform
