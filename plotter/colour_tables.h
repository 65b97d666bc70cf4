// The two fixed colour tables that every colour number indexes.
#pragma once

#include <array>

#include "platform/colour.h"

namespace toven {

inline constexpr int pen_colour_count = 26;
inline constexpr int background_colour_count = 10;

// Pens and text. The dark shade of each bright colour 9..14 lies 8 places below it.
inline constexpr std::array<platform::ColourRef, pen_colour_count> pen_colours = {
    0x000000, 0xA00000, 0x00A000, 0x0000A0, 0xA0A000, 0xA000A0, 0x00A0A0, 0xA0A0A0, 0x0080FF,
    0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x000000, 0xFFFFF0,
    0xFFE6FF, 0xC8E6FF, 0xFFFFE6, 0xFFFFFF, 0xDAFEFD, 0xDCFDE2, 0xCAFFFB, 0xFFC8FF,
};

// Brushes and text backgrounds: the same values as pen colours 16..25.
inline constexpr std::array<platform::ColourRef, background_colour_count> background_colours = {
    0x000000, 0xFFFFF0, 0xFFE6FF, 0xC8E6FF, 0xFFFFE6,
    0xFFFFFF, 0xDAFEFD, 0xDCFDE2, 0xCAFFFB, 0xFFC8FF,
};

// Pen (and text) colour numbers by colour. Numbers 16..25 repeat the background colours.
inline constexpr int pen_black = 0;
inline constexpr int pen_dark_blue = 1;
inline constexpr int pen_dark_green = 2;
inline constexpr int pen_dark_red = 3;
inline constexpr int pen_dark_cyan = 4;
inline constexpr int pen_dark_magenta = 5;
inline constexpr int pen_dark_yellow = 6;
inline constexpr int pen_grey = 7;
inline constexpr int pen_orange = 8;
inline constexpr int pen_blue = 9;
inline constexpr int pen_green = 10;
inline constexpr int pen_red = 11;
inline constexpr int pen_cyan = 12;
inline constexpr int pen_magenta = 13;
inline constexpr int pen_yellow = 14;
inline constexpr int pen_white = 15;

// From a bright pen (blue to yellow) to its dark shade.
inline constexpr int dark_shade_offset = pen_blue - pen_dark_blue;

// Brush (and text background) numbers by colour.
inline constexpr int brush_black = 0;
inline constexpr int brush_azure = 1;
inline constexpr int brush_pale_pink = 2;
inline constexpr int brush_pale_orange = 3;
inline constexpr int brush_pale_cyan = 4;
inline constexpr int brush_white = 5;
inline constexpr int brush_pale_yellow = 6;
inline constexpr int brush_pale_green = 7;
inline constexpr int brush_lemon = 8;
inline constexpr int brush_pale_magenta = 9;

// The colours that begin_output selects, before any panel sets its own: text in dark blue on
// white, frames in dark green.
inline constexpr int output_text_colour = pen_dark_blue;
inline constexpr int output_frame_pen = pen_dark_green;
inline constexpr int output_brush = brush_white;

constexpr bool is_pen_number(int number) {
    return number >= 0 && number < pen_colour_count;
}
constexpr bool is_background_number(int number) {
    return number >= 0 && number < background_colour_count;
}

}  // namespace toven
