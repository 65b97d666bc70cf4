// The files toven writes, one row an extension: the writer that makes it, whether its page
// keeps lines and text rather than pixels, and whether it carries the data text, so that it
// opens again as a data file. Every question of which file a name asks for is answered here.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/picture_files.h"

namespace toven {

enum class Writer {
    page,       // one page of the plot or its figure (save_page): PNG, PDF, SVG or TeX
    animation,  // the frames of a sweep in one file (platform/gif_animation.h)
    solid,      // the surface as a closed solid (platform/stl_file.h)
    data,       // the data text alone (write_data_file)
};

struct OutputFormat {
    std::string_view extension;    // lower case, without the dot
    std::string_view description;  // as a file dialog lists it
    Writer writer;
    bool vector;        // the page is kept as lines and text
    bool carries_data;  // the data text goes in, so the file opens as a data file
    platform::PictureFormat picture = platform::PictureFormat::png;  // a page's file format
};

// The page formats in the order a save dialog offers them, PNG first.
inline constexpr std::array<OutputFormat, 7> output_formats = {{
    {"png", "PNG image", Writer::page, false, true, platform::PictureFormat::png},
    {"pdf", "PDF document", Writer::page, true, true, platform::PictureFormat::pdf},
    {"svg", "SVG drawing", Writer::page, true, true, platform::PictureFormat::svg},
    // Always the figure alone, for \input in a LaTeX document.
    {"tex", "TikZ picture for LaTeX", Writer::page, true, false, platform::PictureFormat::tex},
    {"gif", "GIF animation", Writer::animation, false, false},
    {"stl", "STL solid", Writer::solid, false, false},
    {"toven", "toven data", Writer::data, false, true},
}};

// The extension of a file name in lower case, without the dot; empty when it has none.
std::string file_extension(std::string_view path);

// The format that `path` names by its extension, in any case; null for none of them.
const OutputFormat* output_format(std::string_view path);

// Whether `path` names a format of `writer`.
bool written_by(std::string_view path, Writer writer);

// The extensions of `writer`'s formats for a person to read: ".png, .pdf, .svg or .tex".
std::string extension_list(Writer writer);

// `writer`'s formats as a save dialog offers them, one type each.
std::vector<platform::FileType> file_types(Writer writer);

// The extensions of every format that carries the data text, blank apart, the data file's
// first, as one type of an open dialog lists them.
std::string data_carrying_extensions();

}  // namespace toven
