// An offscreen window's drawing as a TikZ picture for LaTeX: a file that \input places as a
// tikzpicture of the window's physical size, its lines as paths in the window's colours and
// its text as TeX text, set in the document's own font.
#pragma once

#include <optional>
#include <string>

#include "platform/refusal.h"
#include "platform/window.h"

namespace toven::platform {

// A window for a TeX picture draws at this many device units to a point of 1/72 inch (TeX's
// bp): fine enough that rounding moves no line by more than 0.05 pt. Make the window with
// create_offscreen_window(width in points times tex_units_per_point, ...,
// OffscreenRecording::vector_pages, tex_pixel_ratio), so that its fonts come out at their size in
// points.
inline constexpr double tex_units_per_point = 10;
inline constexpr double tex_pixel_ratio = tex_units_per_point * 72.0 / 96.0;

// Writes the window's recorded drawing to `path` (safely, as save_picture does) as one
// tikzpicture whose size is the window's in points at its pixel ratio: each recorded curve
// one \draw path, each colour one \definecolor, each text one node in the document's font
// centred where the window drew it, numbers in math mode. Needs a window that records vector
// pages and whose record is complete; returns the message for the person otherwise or when the
// file cannot be written.
std::optional<Refusal> save_tex_picture(const Window& window, const std::string& path);

}  // namespace toven::platform
