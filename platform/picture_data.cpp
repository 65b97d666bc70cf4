#include "platform/picture_data.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/programmer_error.h"

namespace toven::platform {

namespace {

constexpr std::string_view png_signature = "\x89PNG\r\n\x1a\n";
constexpr std::string_view png_keyword = "toven";
// A chunk is its data's length, its type, its data and a CRC of type and data.
constexpr std::size_t chunk_frame = 12;
constexpr std::string_view data_open = "<toven:data xmlns:toven=\"urn:toven:data\">";
constexpr std::string_view data_element = "<toven:data";
constexpr std::string_view data_close = "</toven:data>";
// The data toven keeps is a few dozen items, a few KiB. A block larger than this is no data
// of toven's, and refusing it bounds the time and memory that reading it may take.
constexpr std::size_t max_kept_block = 1024 * 1024;
// What follows an "&" that a character reference may take up to its ";": "#", then ten
// digits, or "x" and nine hexadecimal digits (leading zeros allowed).
constexpr std::size_t reference_reach = 12;

// The CRC-32 that PNG chunks carry (ISO 3309), over the chunk's type and data.
std::uint32_t crc32(std::string_view bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        c = table[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

void append_big_endian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::uint32_t read_big_endian(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// iTXt = keyword NUL compression-flag compression-method language NUL translated-keyword NUL
//        text
std::string itxt_chunk(std::string_view text) {
    std::string body("iTXt");
    body += png_keyword;
    body.append(1, '\0');
    body.append(2, '\0');  // not compressed
    body.append(2, '\0');  // no language, no translated keyword
    body += text;
    std::string chunk;
    append_big_endian(chunk, static_cast<std::uint32_t>(body.size() - 4));
    chunk += body;
    append_big_endian(chunk, crc32(body));
    return chunk;
}

// The text of the uncompressed iTXt chunk "toven", if the PNG has one.
std::optional<std::string_view> png_block(std::string_view png) {
    std::size_t at = png_signature.size();
    while (at + chunk_frame <= png.size()) {
        const std::uint32_t length = read_big_endian(png, at);
        if (length > png.size() - at - chunk_frame) {
            return std::nullopt;
        }
        const std::string_view type = png.substr(at + 4, 4);
        const std::string_view data = png.substr(at + 8, length);
        if (type == "IEND") {
            return std::nullopt;
        }
        const std::string keyword = std::string(png_keyword) + '\0';
        if (type == "iTXt" && data.starts_with(keyword) && data.size() >= keyword.size() + 2 &&
            data[keyword.size()] == '\0') {
            // Past the flags: the language tag and the translated keyword, each ended by NUL.
            std::size_t text_start = keyword.size() + 2;
            for (int field = 0; field < 2; ++field) {
                text_start = data.find('\0', text_start);
                if (text_start == std::string_view::npos) {
                    return std::nullopt;
                }
                ++text_start;
            }
            return data.substr(text_start);
        }
        at += chunk_frame + length;
    }
    return std::nullopt;
}

std::string escaped_xml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void append_utf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// XML character data back to its text: the five named entities and character references. An
// editor that rewrote the file may have written references where toven wrote characters.
std::string unescaped_xml(std::string_view xml) {
    static constexpr std::array<std::pair<std::string_view, char>, 5> named = {
        {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}}};
    std::string out;
    out.reserve(xml.size());
    for (std::size_t i = 0; i < xml.size(); ++i) {
        if (xml[i] != '&') {
            out += xml[i];
            continue;
        }
        const std::string_view rest = xml.substr(i + 1);
        bool replaced = false;
        for (const auto& [entity, character] : named) {
            if (rest.starts_with(entity)) {
                out += character;
                i += entity.size();
                replaced = true;
                break;
            }
        }
        // Looked for only as far as a reference reaches, so that each "&" costs a bounded
        // search, however many there are.
        const std::size_t end = rest.substr(0, reference_reach).find(';');
        if (!replaced && rest.starts_with('#') && end != std::string_view::npos) {
            const bool hex = rest.size() > 1 && (rest[1] == 'x' || rest[1] == 'X');
            const std::string digits(rest.substr(hex ? 2 : 1, end - (hex ? 2 : 1)));
            char* stop = nullptr;
            const unsigned long code = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
            if (!digits.empty() && *stop == '\0' && code <= 0x10FFFF) {
                append_utf8(out, code);
                i += end + 1;
                replaced = true;
            }
        }
        if (!replaced) {
            out += '&';
        }
    }
    return out;
}

// The content of the element <toven:data> in an SVG or an XMP packet, as it stands in the
// XML, if there is one.
std::optional<std::string_view> xml_block(std::string_view xml) {
    const std::size_t element = xml.find(data_element);
    if (element == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = xml.find('>', element);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    if (xml[start - 1] == '/') {
        return std::string_view();
    }
    const std::size_t end = xml.find(data_close, start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return xml.substr(start + 1, end - start - 1);
}

// The data text read from the block that a picture of `kind` keeps it in, or why it is none.
PictureText kept_text(PictureKind kind, std::optional<std::string_view> block) {
    PictureText found{kind, std::nullopt, {}};
    if (!block) {
        return found;
    }
    const std::string kept_in =
        "the toven data in this " + std::string(picture_kind_name(kind)) + " picture";
    if (block->size() > max_kept_block) {
        found.unreadable = kept_in + " is larger than 1 MiB, which no data of toven's is";
        return found;
    }
    std::string text = kind == PictureKind::png ? std::string(*block) : unescaped_xml(*block);
    // A NUL would end the value where it stands, so the data is refused as a data file with
    // one is.
    if (text.find('\0') != std::string::npos) {
        found.unreadable = kept_in + " holds a NUL character, which no data file holds";
        return found;
    }
    found.text = std::move(text);
    return found;
}

struct Utf8Character {
    char32_t code = 0;
    std::size_t length = 0;  // 0: no character starts here
};

// The UTF-8 character at the start of `text`. Overlong forms, UTF-16 surrogates and code
// points beyond Unicode are none.
Utf8Character utf8_character(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    const std::size_t length = lead >= 0xC2 && lead < 0xE0   ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || text.size() < length) {
        return {};
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return {};
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) {
        return {};
    }
    return {code, length};
}

// What XML 1.0 cannot carry in `character`, or empty.
std::string xml_fault(Utf8Character character) {
    if (character.length == 0) {
        return "bytes that are not UTF-8 text";
    }
    const char32_t code = character.code;
    if (code < 0x20 && code != '\t' && code != '\n' && code != '\r') {
        return "a control character";
    }
    if (code == 0xFFFE || code == 0xFFFF) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
        return std::string("the non-character ") + name;
    }
    return {};
}

// "the value of NAME" for an item line "NAME=VALUE", else "the data".
std::string holder_of(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return "the data";
    }
    std::string_view name = line.substr(0, equals);
    const std::size_t first = name.find_first_not_of(" \t");
    name = first == std::string_view::npos
               ? std::string_view()
               : name.substr(first, name.find_last_not_of(" \t") - first + 1);
    return "the value of " + std::string(name);
}

// An XML text whose root is <svg: it may begin with a byte order mark and a prologue of any
// length (declaration, comments, document type).
bool looks_like_svg(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) {
        return false;
    }
    const std::string_view head = bytes.substr(start);
    return (head.starts_with("<?xml") || head.starts_with("<svg") || head.starts_with("<!")) &&
           head.find("<svg") != std::string_view::npos;
}

}  // namespace

std::string png_with_text(std::string_view png, std::string_view text) {
    const std::size_t header_end = png_signature.size() + chunk_frame + 13;
    TOVEN_EXPECT(png.starts_with(png_signature) && png.size() > header_end &&
                     png.substr(png_signature.size() + 4, 4) == "IHDR",
                 "png_with_text needs a whole PNG");
    std::string out(png.substr(0, header_end));
    out += itxt_chunk(text);
    out += png.substr(header_end);
    return out;
}

std::string xml_unfit(std::string_view text) {
    std::size_t line_start = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = utf8_character(text.substr(at));
        if (const std::string fault = xml_fault(character); !fault.empty()) {
            const std::string_view line = text.substr(line_start);
            return holder_of(line.substr(0, line.find('\n'))) + " holds " + fault;
        }
        at += character.length;
        if (character.code == '\n') {
            line_start = at;
        }
    }
    return {};
}

std::string svg_with_text(std::string_view svg, std::string_view text) {
    const std::size_t element = svg.find("<svg");
    const std::size_t start_end =
        element == std::string_view::npos ? element : svg.find('>', element);
    TOVEN_EXPECT(start_end != std::string_view::npos, "svg_with_text needs a whole SVG");
    TOVEN_EXPECT(xml_unfit(text).empty(), "svg_with_text needs a text that XML can carry");
    std::string out(svg.substr(0, start_end + 1));
    out += "\n<metadata>";
    out += data_open;
    out += escaped_xml(text);
    out += data_close;
    out += "</metadata>";
    out += svg.substr(start_end + 1);
    return out;
}

std::string xmp_with_text(std::string_view text) {
    TOVEN_EXPECT(xml_unfit(text).empty(), "xmp_with_text needs a text that XML can carry");
    std::string out =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
        "<xmp:CreatorTool>toven</xmp:CreatorTool>\n";
    out += data_open;
    out += escaped_xml(text);
    out += data_close;
    out +=
        "\n</rdf:Description>\n"
        "</rdf:RDF>\n"
        "</x:xmpmeta>\n"
        "<?xpacket end=\"w\"?>";
    return out;
}

PictureText picture_text(std::string_view bytes) {
    if (bytes.starts_with(png_signature)) {
        return kept_text(PictureKind::png, png_block(bytes));
    }
    if (bytes.starts_with("%PDF-")) {
        return kept_text(PictureKind::pdf, xml_block(bytes));
    }
    if (looks_like_svg(bytes)) {
        return kept_text(PictureKind::svg, xml_block(bytes));
    }
    return {};
}

std::string_view picture_kind_name(PictureKind kind) {
    switch (kind) {
        case PictureKind::png:
            return "PNG";
        case PictureKind::svg:
            return "SVG";
        case PictureKind::pdf:
            return "PDF";
        case PictureKind::none:
            break;
    }
    return {};
}

}  // namespace toven::platform
