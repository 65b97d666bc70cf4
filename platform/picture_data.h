// The data text that toven keeps inside the pictures it writes, so that a picture can be
// opened again as the data it was drawn from. The text is stored as it is, byte for byte:
// in a PNG as an uncompressed iTXt chunk with the keyword "toven", in an SVG and in a PDF's
// XMP metadata as the XML element <toven:data>. These functions work on the file's bytes
// only; the pictures themselves are written by picture_files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace toven::platform {

// The PNG `png` with an iTXt chunk holding `text` right after its header chunk. `png` must
// be a whole PNG as an image writer made it.
std::string png_with_text(std::string_view png, std::string_view text);

// Why `text` cannot be kept in XML (an SVG, a PDF's XMP), which carries only UTF-8 text
// without control characters other than tab and line breaks, and without U+FFFE and U+FFFF:
// "the value of NAME holds ...", naming the item, or empty when it can be kept.
std::string xml_unfit(std::string_view text);

// The SVG `svg` with a <metadata> element holding `text` as the first child of its <svg>
// element. `svg` must be a whole SVG as an SVG writer made it, and `text` fit for XML.
std::string svg_with_text(std::string_view svg, std::string_view text);

// An XMP packet that names toven as its creator and holds `text` (fit for XML), for a PDF's
// metadata.
std::string xmp_with_text(std::string_view text);

enum class PictureKind { none, png, svg, pdf };

struct PictureText {
    PictureKind kind = PictureKind::none;  // none: the bytes are no PNG, SVG or PDF
    std::optional<std::string> text;       // toven's data text, where toven wrote the picture
    // Why the kept text is no data, when it is not (then `text` is empty): it holds a NUL or is
    // larger than any data toven keeps. Words for the person, after the file's name in "Cannot
    // read".
    std::string unreadable;
};

// What a file's bytes are, and the data text that toven kept in them. Takes time in
// proportion to the bytes.
PictureText picture_text(std::string_view bytes);

// "PNG", "SVG" or "PDF"; empty for none.
std::string_view picture_kind_name(PictureKind kind);

}  // namespace toven::platform
