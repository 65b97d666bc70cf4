// A GIF keeps every colour of a frame exactly or refuses the frame; the target is replaced
// only by a committed animation.
#include "platform/gif_animation.h"

#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
}  // namespace toven::platform
