// What command-line tools (poppler's pdfinfo and pdftoppm) say about a PDF or a picture.
#pragma once

#include <fstream>
#include <optional>
#include <string>

#include "platform/window.h"
#include "tests/support/program_run.h"

namespace toven::test_support {

// The value of a "Name:   value" line of pdfinfo's report, blanks trimmed; empty if absent.
inline std::string pdf_info(const std::string& pdf_path, const std::string& name) {
    const std::string report = command_output("pdfinfo '" + pdf_path + "' 2>/dev/null");
    const std::size_t line = report.find("\n" + name + ":");
    const std::size_t at = line == std::string::npos ? report.rfind(name + ":", 0) : line + 1;
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = report.find_first_not_of(' ', at + name.size() + 1);
    const std::size_t end = report.find('\n', at);
    return start < end ? report.substr(start, end - start) : std::string();
}

// A grey picture as a tool prints it in binary PGM; empty when the text is no such picture.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::string pixels;  // one byte a pixel, row by row
    bool empty() const { return width == 0; }
    unsigned char at(int x, int y) const {
        return static_cast<unsigned char>(pixels[static_cast<std::size_t>(y) * width + x]);
    }
};

// The header of a binary Netpbm picture: "P5" (grey) or "P6" (colour), then width, height
// and maxval, each after white space, then one white space before the pixels.
struct NetpbmHeader {
    int width = 0;
    int height = 0;
    int maxval = 0;
    std::size_t pixels_at = 0;  // where the pixels start in the text
};

inline std::optional<NetpbmHeader> read_netpbm_header(const std::string& text, const char* magic) {
    if (text.compare(0, 2, magic) != 0) {
        return std::nullopt;
    }
    std::size_t at = 2;
    int fields[3] = {0, 0, 0};
    for (int& field : fields) {
        at = text.find_first_of("0123456789", at);
        if (at == std::string::npos) {
            return std::nullopt;
        }
        const std::size_t end = text.find_first_not_of("0123456789", at);
        field = std::stoi(text.substr(at, end - at));
        at = end;
    }
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return NetpbmHeader{fields[0], fields[1], fields[2], at + 1};
}

// One byte a pixel.
inline GreyImage read_pgm(const std::string& pgm) {
    const std::optional<NetpbmHeader> header = read_netpbm_header(pgm, "P5");
    if (!header) {
        return {};
    }
    const auto size = static_cast<std::size_t>(header->width) * header->height;
    if (pgm.size() < header->pixels_at + size) {
        return {};
    }
    return {header->width, header->height, pgm.substr(header->pixels_at, size)};
}

// A PDF's first page rendered in grey at `dpi`, without smoothing (poppler's pdftoppm).
inline GreyImage pdf_page_in_grey(const std::string& pdf_path, int dpi) {
    return read_pgm(command_output("pdftoppm -r " + std::to_string(dpi) +
                                   " -gray -aa no -aaVector no -f 1 -l 1 '" + pdf_path +
                                   "' 2>/dev/null"));
}

// The dark pixels of a PDF's first page rendered in grey at `dpi`; -1 when it cannot be
// rendered.
inline int dark_pixels(const std::string& pdf_path, int dpi) {
    const GreyImage page = read_pgm(command_output(
        "pdftoppm -r " + std::to_string(dpi) + " -gray -f 1 -l 1 '" + pdf_path + "' 2>/dev/null"));
    if (page.empty()) {
        return -1;
    }
    int dark = 0;
    for (const char pixel : page.pixels) {
        dark += static_cast<unsigned char>(pixel) < 128 ? 1 : 0;
    }
    return dark;
}

// The pixels of a picture file as ImageMagick's convert decodes them (PNG, or SVG drawn at
// its own size); an empty image when it cannot be read.
inline platform::Image decoded_picture(const std::string& path) {
    const std::string ppm = command_output("convert '" + path + "' -depth 8 ppm:- 2>/dev/null");
    // Three bytes a pixel.
    const std::optional<NetpbmHeader> header = read_netpbm_header(ppm, "P6");
    if (!header) {
        return {};
    }
    const std::size_t at = header->pixels_at;
    const auto count = static_cast<std::size_t>(header->width) * header->height;
    if (header->maxval != 255 || ppm.size() < at + 3 * count) {
        return {};
    }
    platform::Image image{header->width, header->height, {}};
    image.pixels.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto byte = [&](std::size_t k) {
            return static_cast<unsigned char>(ppm[at + 3 * i + k]);
        };
        image.pixels.push_back(platform::rgb(byte(0), byte(1), byte(2)));
    }
    return image;
}

// Whether pdflatex (texlive-latex-base, texlive-pictures) is installed.
inline bool has_pdflatex() {
    return !command_output("pdflatex --version 2>/dev/null").empty();
}

// Typesets paper.tex in `folder`, a document that inputs `figure` of that folder, with
// pdflatex into paper.pdf; its exit status as text, "0\n" when it succeeds.
inline std::string typeset_figure(const std::string& folder, const std::string& figure) {
    std::ofstream(folder + "/paper.tex")
        << "\\documentclass{article}\\usepackage{tikz}\\begin{document}\n"
           "\\input{" +
               figure + "}\n\\end{document}\n";
    return command_output("cd '" + folder +
                          "' && pdflatex -interaction=nonstopmode -halt-on-error paper.tex "
                          ">/dev/null 2>&1; echo $?");
}

}  // namespace toven::test_support
