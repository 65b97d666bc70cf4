// The data text kept in pictures: what goes in comes out byte for byte, whatever XML makes
// of its characters, and pictures without it say so.
#include "platform/picture_data.h"

#include <gtest/gtest.h>

#include <string>

namespace toven::platform {
namespace {

// A PNG's signature, header chunk and end chunk: all that the text needs around it.
const std::string bare_png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) +
                             std::string(13 + 4, '\x01') + std::string("\0\0\0\0IEND", 8) +
                             "\xAE\x42\x60\x82";
const std::string bare_svg =
    "<?xml version=\"1.0\"?>\n<svg width=\"2\" xmlns=\"http://www.w3.org/2000/svg\">\n</svg>\n";

TEST(PictureData, TheTextComesBackFromEachKindOfPicture) {
    const std::string text = "# data\nf(x,y)=x<y & y>0\ntitle=\t\"it's\" \xE2\x88\x9E </toven\n";
    const struct {
        std::string picture;
        PictureKind kind;
    } cases[] = {
        {png_with_text(bare_png, text), PictureKind::png},
        {svg_with_text(bare_svg, text), PictureKind::svg},
        {"%PDF-1.4\n" + xmp_with_text(text) + "\n%%EOF\n", PictureKind::pdf},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(picture_kind_name(c.kind));
        const PictureText found = picture_text(c.picture);
        EXPECT_EQ(found.kind, c.kind);
        EXPECT_EQ(found.text, text);
    }
    // The chunk follows the header, and its CRC is the one libpng checks.
    const std::string png = png_with_text(bare_png, "a=1");
    EXPECT_EQ(png.substr(33, 25),
              std::string("\0\0\0\x0diTXttoven\0\0\0\0\0a=1\x92\x57\xb3\x2c", 25));
}

// A picture that an editor wrote again may hold character references instead of characters.
TEST(PictureData, CharacterReferencesAreRead) {
    const std::string svg = svg_with_text(bare_svg, "");
    const std::string edited =
        "<svg><metadata><toven:data xmlns:toven=\"urn:toven:data\">a=&#49;&#x32;&quot;&amp;"
        "&unknown;&#xE9;</toven:data></metadata></svg>";
    EXPECT_EQ(picture_text(edited).text, "a=12\"&&unknown;\xC3\xA9");
    EXPECT_EQ(picture_text(svg).text, "");
}

// What XML 1.0 cannot carry, named with the item that holds it; the other non-characters
// (U+FDD0, U+1FFFF) are characters XML allows.
TEST(PictureData, TextThatXmlCannotCarryIsNamed) {
    const struct {
        const char* text;
        const char* unfit;
    } cases[] = {
        {"title=ab\xEF\xBF\xBE"
         "cd",
         "the value of title holds the non-character U+FFFE"},
        {"a=1\n  title = \x1B[31m\n", "the value of title holds a control character"},
        {"\xE9t\xE9", "the data holds bytes that are not UTF-8 text"},
        {"title=\t\xEF\xB7\x90 \xF0\x9F\xBF\xBF\r\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(xml_unfit(c.text), c.unfit);
    }
}

TEST(PictureData, PicturesWithoutTheTextAndOtherFilesAreTold) {
    EXPECT_EQ(picture_text(bare_png).kind, PictureKind::png);
    EXPECT_EQ(picture_text(bare_png).text, std::nullopt);
    EXPECT_EQ(picture_text(bare_svg).text, std::nullopt);
    EXPECT_EQ(picture_text("a=1\n<svg>").kind, PictureKind::none);
    EXPECT_EQ(picture_text("").kind, PictureKind::none);
}

}  // namespace
}  // namespace toven::platform
