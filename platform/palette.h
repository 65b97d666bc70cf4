// A picture of few colours as a palette and one index a pixel, as PNG and GIF files keep it.
// A plot has a handful of colours, so its files are small and its colours exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace toven::platform {

inline constexpr std::size_t max_palette_colours = 256;

struct IndexedColours {
    std::vector<std::uint32_t> palette;  // the pixel values, in the order they first appear
    std::vector<std::uint8_t> indices;   // one a pixel, in the pixels' order
};

// The pixels, each value a colour compared whole, as indices into their palette; nothing when
// they take more than max_palette_colours colours.
std::optional<IndexedColours> index_colours(std::span<const std::uint32_t> pixels);

}  // namespace toven::platform
