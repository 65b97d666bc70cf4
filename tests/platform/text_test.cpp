// Fonts, text metrics and text cells on an offscreen device. The fonts are pinned by the
// test environment: Liberation Serif answers for "Times New Roman", DejaVu Sans Mono is the
// fixed-pitch face.
#include <gtest/gtest.h>

#include <set>

#include "platform/drawing_objects.h"
#include "tests/platform/drawing_fixture.h"

namespace toven::platform::testing {
namespace {

LogicalFont times(int height, int width = 0) {
    LogicalFont font;
    font.height = height;
    font.width = width;
    font.face = "Times New Roman";
    return font;
}

class TextTest : public DrawingTest {
  protected:
    TextTest() : DrawingTest(200, 60) {}
    ~TextTest() override {
        release();
        for (const Font* font : fonts) {
            delete_object(font);
        }
    }
    TextMetrics use_font(const LogicalFont& description) {
        fonts.push_back(create_font(description));
        device->select_font(fonts.back());
        return device->text_metrics();
    }
    std::vector<Font*> fonts;
};

TEST_F(TextTest, ScreenFontHasTheCharacterHeightAskedFor) {
    const TextMetrics metrics = use_font(times(-13));
    EXPECT_EQ(metrics.height, metrics.ascent + metrics.descent);
    EXPECT_EQ(metrics.height - metrics.internal_leading, 13);
    EXPECT_GE(metrics.height, 14);
    EXPECT_LE(metrics.height, 16);
    EXPECT_GE(metrics.ave_char_width, 4);
    EXPECT_LE(metrics.ave_char_width, 8);
    EXPECT_GT(metrics.max_char_width, metrics.ave_char_width);
    EXPECT_EQ(device->text_extent("Hello").cy, metrics.height);
}

TEST_F(TextTest, PositiveHeightAsksForTheCellHeight) {
    const TextMetrics metrics = use_font(times(30));
    EXPECT_NEAR(metrics.height, 30, 1);
}

TEST_F(TextTest, WidthStretchesTheAverageCharacterWidth) {
    const TextMetrics natural = use_font(times(-117));
    const int wide = natural.ave_char_width * 16 / 14;
    const TextMetrics stretched = use_font(times(-117, wide));
    EXPECT_NEAR(stretched.ave_char_width, wide, 1);
    EXPECT_EQ(stretched.height, natural.height);
    const TextMetrics narrow = use_font(times(-117, natural.ave_char_width / 2));
    EXPECT_NEAR(narrow.ave_char_width, natural.ave_char_width / 2, 1);
}

TEST_F(TextTest, ExtentAddsUpWithoutKerning) {
    use_font(times(-13));
    EXPECT_EQ(device->text_extent("").cx, 0);
    EXPECT_EQ(device->text_extent("AV").cx,
              device->text_extent("A").cx + device->text_extent("V").cx);
    EXPECT_GT(device->text_extent("rot  =    45.00").cx, device->text_extent("rot").cx);
}

TEST_F(TextTest, BoldIsWiderThanNormal) {
    use_font(times(-13));
    const int normal = device->text_extent("Weight of a line").cx;
    LogicalFont bold = times(-13);
    bold.weight = 700;
    use_font(bold);
    EXPECT_GT(device->text_extent("Weight of a line").cx, normal);
}

TEST_F(TextTest, StockFixedFontHasOneWidthForEveryCharacter) {
    device->select_font(stock_fixed_font());
    const TextMetrics metrics = device->text_metrics();
    EXPECT_GT(metrics.height, 8);
    EXPECT_EQ(device->text_extent("iiii").cx, device->text_extent("WWWW").cx);
    EXPECT_EQ(device->text_extent("iiii").cx, 4 * metrics.ave_char_width);
}

TEST_F(TextTest, TextSitsOnAnOpaqueCellOfThreeColours) {
    use_font(times(-13));
    device->set_background_colour(blue);
    device->set_text_colour(red);
    device->text_out(10, 20, "Hxg|");
    const Extent cell = device->text_extent("Hxg|");
    const Image image = picture();
    std::set<ColourRef> inside;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool in_cell = x >= 10 && x < 10 + cell.cx && y >= 20 && y < 20 + cell.cy;
            if (in_cell) {
                inside.insert(image.at(x, y));
            } else {
                ASSERT_EQ(image.at(x, y), white) << "outside the cell at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(inside, (std::set<ColourRef>{red, blue}));
    EXPECT_EQ(image.at(10, 20), blue);
}

TEST_F(TextTest, TextIsClipped) {
    use_font(times(-13));
    Region* clip = create_rect_region({0, 0, 15, 60});
    device->select_clip_region(clip);
    device->set_background_colour(blue);
    device->text_out(10, 20, "Clipped text");
    const Image image = picture();
    EXPECT_EQ(image.at(12, 22), blue);
    EXPECT_EQ(image.at(15, 22), white);
    delete_object(clip);
}

TEST_F(TextTest, EmptyTextDrawsNothing) {
    use_font(times(-13));
    device->set_background_colour(blue);
    device->text_out(10, 20, "");
    EXPECT_EQ(count_colour(picture(), white), 200 * 60);
}

TEST_F(TextTest, BytesThatAreNotUtf8AreDrawnOneCharacterEach) {
    use_font(times(-13));
    const Extent latin1 = device->text_extent("\xe9t\xe9");
    EXPECT_GT(latin1.cx, device->text_extent("t").cx);
    EXPECT_EQ(device->text_extent("\xc3\xa9t\xc3\xa9").cx, latin1.cx);
}

TEST_F(TextTest, CapabilitiesDescribeTheImage) {
    EXPECT_EQ(device->capability(DeviceCapability::width_pixels), 200);
    EXPECT_EQ(device->capability(DeviceCapability::height_pixels), 60);
    EXPECT_EQ(device->capability(DeviceCapability::logical_pixels_x), 96);
    EXPECT_EQ(device->capability(DeviceCapability::logical_pixels_y), 96);
    EXPECT_NEAR(device->capability(DeviceCapability::width_millimetres), 53, 1);
    EXPECT_NEAR(device->capability(DeviceCapability::height_millimetres), 16, 1);
}

}  // namespace
}  // namespace toven::platform::testing
