// Counting the colours of a picture, for tests that check drawing on its pixels. An area is
// clipped to the picture, so a rectangle that reaches past its edge counts only what is there.
#pragma once

#include <map>

#include "platform/geometry.h"
#include "platform/window.h"

namespace toven::test_support {

// How many pixels of each colour lie inside `area`.
std::map<platform::ColourRef, int> colours_in(const platform::Image& image,
                                              const platform::Rect& area);

// The colour most pixels of `area` have; of equal counts, the lowest colour value.
platform::ColourRef most_frequent_colour(const platform::Image& image, const platform::Rect& area);

// The pixels of `colour` inside `area`, or in the whole picture.
int count_colour(const platform::Image& image, const platform::Rect& area,
                 platform::ColourRef colour);
int count_colour(const platform::Image& image, platform::ColourRef colour);

// The pixels of the whole picture that are not `colour`.
int count_not(const platform::Image& image, platform::ColourRef colour);

}  // namespace toven::test_support
