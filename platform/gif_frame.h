// One frame of an animated GIF as the bytes the file holds for it: its delay, its place and
// palette, and its pixels compressed. Encoding is the costly part of writing a GIF, so frames
// drawn side by side are encoded on their own threads and only written in turn.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/palette.h"

namespace toven::platform {

// The frame's bytes: a graphic control block that shows it for `centiseconds`, an image block
// of width x height at the top left with a palette of its own, and the LZW-compressed
// indices. `colours` holds one index a pixel, width x height of them, each into its palette
// of at most max_palette_colours colours.
std::vector<std::uint8_t> encode_gif_frame(const IndexedColours& colours, int width, int height,
                                           int centiseconds);

// Appends `value` as GIF writes its 16-bit numbers: low byte first.
void put_gif_word(std::vector<std::uint8_t>& out, int value);

}  // namespace toven::platform
