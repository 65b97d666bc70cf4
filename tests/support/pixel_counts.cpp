#include "tests/support/pixel_counts.h"

#include <algorithm>

namespace toven::test_support {

std::map<platform::ColourRef, int> colours_in(const platform::Image& image,
                                              const platform::Rect& area) {
    std::map<platform::ColourRef, int> counts;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, image.height); ++y) {
        for (int x = std::max(area.left, 0); x < std::min(area.right, image.width); ++x) {
            ++counts[image.at(x, y)];
        }
    }
    return counts;
}

platform::ColourRef most_frequent_colour(const platform::Image& image, const platform::Rect& area) {
    platform::ColourRef best = 0;
    int best_count = -1;
    for (const auto& [colour, count] : colours_in(image, area)) {
        if (count > best_count) {
            best = colour;
            best_count = count;
        }
    }
    return best;
}

int count_colour(const platform::Image& image, const platform::Rect& area,
                 platform::ColourRef colour) {
    const auto counts = colours_in(image, area);
    const auto found = counts.find(colour);
    return found == counts.end() ? 0 : found->second;
}

int count_colour(const platform::Image& image, platform::ColourRef colour) {
    return static_cast<int>(std::ranges::count(image.pixels, colour));
}

int count_not(const platform::Image& image, platform::ColourRef colour) {
    return image.width * image.height - count_colour(image, colour);
}

}  // namespace toven::test_support
