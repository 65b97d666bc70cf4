// Short names for the table colours that tests look for on a page, taken from the colour
// tables, so a test never carries a copy of a colour value.
#pragma once

#include "plotter/colour_tables.h"

namespace toven::test_support {

inline constexpr platform::ColourRef white = pen_colours[pen_white];
inline constexpr platform::ColourRef black = pen_colours[pen_black];
inline constexpr platform::ColourRef pale_yellow = background_colours[brush_pale_yellow];
inline constexpr platform::ColourRef dark_green = pen_colours[pen_dark_green];
inline constexpr platform::ColourRef dark_red = pen_colours[pen_dark_red];
inline constexpr platform::ColourRef dark_blue = pen_colours[pen_dark_blue];

}  // namespace toven::test_support
