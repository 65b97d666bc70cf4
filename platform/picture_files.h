// A window's picture: its pixels, their ratio to the screen's layout, and an offscreen window's
// picture written to a PNG, PDF or SVG file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/palette.h"
#include "platform/refusal.h"
#include "platform/window.h"

namespace toven::platform {

// The largest PDF or SVG page kept as lines and text, estimated as its SVG file: 30 MB of SVG
// take about a second to write and some 200 MB of memory, where the surface that jumps at
// every sample would make 160 MB in 5 s with 850 MB of memory. A larger drawing is saved as
// the page's image.
inline constexpr std::size_t max_vector_page_bytes = std::size_t{30} << 20;

// A copy of the window's backing image.
Image snapshot(const Window& window);

// The window's backing image with its colours indexed, as a GIF frame keeps it: the palette's
// colours are ColourRefs; no colours where the image has more than max_palette_colours.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::optional<IndexedColours> colours;
};
IndexedImage indexed_snapshot(const Window& window);

// The device pixels of a window to a unit of the screen's layout: 1 on an ordinary screen, 2
// on a screen scaled by two; an offscreen window's own.
double pixel_ratio(const Window& window);

// A TeX picture is written by save_tex_picture (platform/tex_picture.h) and keeps no data.
enum class PictureFormat { png, pdf, svg, tex };

// Writes an offscreen window's picture to `path` as `format`, a PDF as one page of the
// window's size, through a SafeFile: the file is replaced whole or not at all, and special
// files are refused. The picture carries `data_text` (picture_data.h), and two saves of the
// same picture and text give the same bytes for PNG and SVG. Returns the message for the
// person on failure.
std::optional<Refusal> save_picture(const Window& window, const std::string& path,
                                    PictureFormat format, const std::string& data_text = {});

// Whether save_picture writes PDF and SVG as pages of lines and text. False where the window
// keeps no record of its drawing, or the record outgrew its limit: those files then hold
// the window's image.
bool saves_vector_pages(const Window& window);

}  // namespace toven::platform
