#include "platform/picture_data.h"

#include <array>
#include <cstdint>
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
std::optional<std::string> png_text(std::string_view png) {
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
            return std::string(data.substr(text_start));
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
        const std::size_t end = rest.find(';');
        if (!replaced && rest.starts_with('#') && end != std::string_view::npos && end < 12) {
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

// The text of the element <toven:data> in an SVG or an XMP packet, if there is one.
std::optional<std::string> xml_text(std::string_view xml) {
    const std::size_t element = xml.find(data_element);
    if (element == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = xml.find('>', element);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    if (xml[start - 1] == '/') {
        return std::string();
    }
    const std::size_t end = xml.find(data_close, start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return unescaped_xml(xml.substr(start + 1, end - start - 1));
}

bool looks_like_svg(std::string_view bytes) {
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) {
        return false;
    }
    const std::string_view head = bytes.substr(start, 4096);
    return (head.starts_with("<?xml") || head.starts_with("<svg") ||
            head.starts_with("<!DOCTYPE svg")) &&
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

std::string svg_with_text(std::string_view svg, std::string_view text) {
    const std::size_t element = svg.find("<svg");
    const std::size_t start_end =
        element == std::string_view::npos ? element : svg.find('>', element);
    TOVEN_EXPECT(start_end != std::string_view::npos, "svg_with_text needs a whole SVG");
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
        return {PictureKind::png, png_text(bytes)};
    }
    if (bytes.starts_with("%PDF-")) {
        return {PictureKind::pdf, xml_text(bytes)};
    }
    if (looks_like_svg(bytes)) {
        return {PictureKind::svg, xml_text(bytes)};
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
