// Fonts sized in tenths of a point through a device's resolution, so that a size means the
// same on the screen and on paper. The caller owns the font returned and gives it back with
// platform::delete_object.
#pragma once

#include <string_view>

#include "platform/device.h"
#include "platform/drawing_objects.h"

namespace toven {

// Attribute bits of create_scaled_font.
inline constexpr int font_plain = 0;
inline constexpr int font_bold = 1;
inline constexpr int font_italic = 2;
inline constexpr int font_underline = 4;
inline constexpr int font_strike_out = 8;

// The longest face name a font description holds; longer names are cut.
inline constexpr std::size_t font_face_limit = 31;

// create_scaled_font's `logical`: whether a point is measured by the device's logical inch or
// by its physical size.
inline constexpr int physical_size = 0;
inline constexpr int logical_inch = 1;

// height and width in tenths of a point (width 0: the face's own width); logical nonzero
// takes the device's logical pixels per inch, 0 its pixels over its size in millimetres.
// The device's selected font is the same afterwards.
platform::Font* create_scaled_font(platform::Device& device, std::string_view face, int height,
                                   int width, int attributes, int logical);

}  // namespace toven
