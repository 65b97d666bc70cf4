#include "platform/palette.h"

#include <algorithm>

namespace toven::platform {

// Neighbouring pixels mostly share a colour, so the last one found is tried first.
std::optional<IndexedColours> index_colours(std::span<const std::uint32_t> pixels) {
    IndexedColours result;
    std::vector<std::uint32_t>& palette = result.palette;
    result.indices.resize(pixels.size());
    std::size_t last = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t pixel = pixels[i];
        if (palette.empty() || palette[last] != pixel) {
            last = static_cast<std::size_t>(std::find(palette.begin(), palette.end(), pixel) -
                                            palette.begin());
            if (last == palette.size()) {
                if (last == max_palette_colours) {
                    return std::nullopt;
                }
                palette.push_back(pixel);
            }
        }
        result.indices[i] = static_cast<std::uint8_t>(last);
    }
    return result;
}

}  // namespace toven::platform
