// A GIF keeps every colour of a frame exactly or refuses the frame; the target is replaced
// only by a committed animation.
#include "platform/gif_animation.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>

#include "platform/gif_frame.h"

#include "tests/support/test_files.h"

namespace toven::platform {
namespace {

Image image_of_colours(int colours) {
    Image image{colours, 1, {}};
    for (int i = 0; i < colours; ++i) {
        image.pixels.push_back(rgb(i % 256, i / 256, 7));
    }
    return image;
}

TEST(GifAnimation, KeepsUpTo256ColoursAndRefusesMore) {
    test_support::TempFolder folder("gif");
    const std::string path = folder.file("a.gif");
    std::ofstream(path) << "old";
    {
        GifAnimation animation(path);
        ASSERT_FALSE(animation.open(257, 1));
        const auto refusal = animation.add_frame(image_of_colours(257), 5);
        ASSERT_TRUE(refusal);
        EXPECT_NE(refusal->message.find("more than 256 colours"), std::string::npos);
    }
    EXPECT_EQ(test_support::read_file(path), "old");

    GifAnimation animation(path);
    ASSERT_FALSE(animation.open(256, 1));
    EXPECT_FALSE(animation.add_frame(image_of_colours(256), 5));
    EXPECT_FALSE(animation.commit());
    EXPECT_EQ(test_support::read_file(path).substr(0, 6), "GIF89a");
}

// Frames read back by giflib's decoder: its indices and palette, or nothing.
struct Decoded {
    std::vector<std::uint8_t> indices;
    std::vector<ColourRef> palette;
};
std::optional<Decoded> decode(const std::vector<std::uint8_t>& bytes) {
    struct Reader {
        const std::vector<std::uint8_t>* bytes;
        std::size_t at = 0;
    } reader{&bytes};
    const auto read = [](GifFileType* gif, GifByteType* out, int size) {
        auto* r = static_cast<Reader*>(gif->UserData);
        const std::size_t n =
            std::min<std::size_t>(static_cast<std::size_t>(size), r->bytes->size() - r->at);
        std::memcpy(out, r->bytes->data() + r->at, n);
        r->at += n;
        return static_cast<int>(n);
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read, &error);
    std::optional<Decoded> decoded;
    if (gif != nullptr && DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& image = gif->SavedImages[0];
        const std::size_t count = static_cast<std::size_t>(image.ImageDesc.Width) *
                                  static_cast<std::size_t>(image.ImageDesc.Height);
        decoded = Decoded{{image.RasterBits, image.RasterBits + count}, {}};
        for (int i = 0; i < image.ImageDesc.ColorMap->ColorCount; ++i) {
            const GifColorType c = image.ImageDesc.ColorMap->Colors[i];
            decoded->palette.push_back(rgb(c.Red, c.Green, c.Blue));
        }
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

// The compression must stay readable where the code width grows and where the table of
// strings fills and starts anew, for every palette size.
TEST(GifFrame, IndependentDecoderReadsEveryFrameBack) {
    struct Case {
        const char* name;
        int width, height, colours;
        bool noise;  // random indices, else long runs as a plot has
    };
    const Case cases[] = {
        {"one pixel", 1, 1, 2, false},          {"two colours, noise", 64, 64, 2, true},
        {"three colours", 7, 3, 3, true},       {"a plot's runs", 800, 600, 9, false},
        {"table refills", 300, 300, 256, true}, {"a single row", 5000, 1, 17, true},
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IndexedColours colours;
        for (int i = 0; i < c.colours; ++i) {
            colours.palette.push_back(rgb(i, 255 - i, i / 2));
        }
        for (int p = 0; p < c.width * c.height; ++p) {
            const int index = c.noise ? static_cast<int>(random() % c.colours)
                                      : (p / 97 + p / c.width) % c.colours;
            colours.indices.push_back(static_cast<std::uint8_t>(index));
        }
        std::vector<std::uint8_t> file = {'G',
                                          'I',
                                          'F',
                                          '8',
                                          '9',
                                          'a',
                                          static_cast<std::uint8_t>(c.width & 0xff),
                                          static_cast<std::uint8_t>(c.width >> 8),
                                          static_cast<std::uint8_t>(c.height & 0xff),
                                          static_cast<std::uint8_t>(c.height >> 8),
                                          0x70,
                                          0,
                                          0};
        const std::vector<std::uint8_t> frame = encode_gif_frame(colours, c.width, c.height, 4);
        file.insert(file.end(), frame.begin(), frame.end());
        file.push_back(0x3b);
        std::optional<Decoded> decoded = decode(file);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->indices, colours.indices);
        decoded->palette.resize(colours.palette.size());
        EXPECT_EQ(decoded->palette, colours.palette);
    }
}

}  // namespace
}  // namespace toven::platform
