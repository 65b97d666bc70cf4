// Scaled fonts and the text cursor, read from the calls the Plotter makes. The recording
// device measures every character 7 units wide and 16 high.
#include <string>

#include "plotter/scaled_font.h"
#include "tests/plotter/plotter_fixture.h"

namespace toven::test_support {
namespace {

struct FontCase {
    const char* name;
    int dpi;
    int face_width;  // the average width the device measures for the first font
    int height, width, attributes;
    int lf_height, lf_width, weight;
    bool italic, underline, strike_out;
};

void PrintTo(const FontCase& row, std::ostream* out) {
    *out << row.name;
}

// 100 tenths at 96 dpi: py = 133, lfHeight -13. 140 x 160 tenths at 600 dpi: py = 1166,
// px = 1333, lfWidth = 1333 x average / 1166 + 0.5, truncated.
const FontCase font_cases[] = {
    {"screen_font", 96, 7, 100, 100, 0, -13, 7, 0, false, false, false},
    {"printer_font", 600, 50, 140, 160, 0, -117, 57, 0, false, false, false},
    {"printer_font_narrow_face", 600, 7, 140, 160, 0, -117, 8, 0, false, false, false},
    {"face_width", 96, 7, 100, 0, 0, -13, 0, 0, false, false, false},
    {"all_attributes", 96, 7, 100, 100, 15, -13, 7, 700, true, true, true},
    {"bold_italic", 96, 7, 100, 100, 3, -13, 7, 700, true, false, false},
    {"underline_strike", 96, 7, 100, 100, 12, -13, 7, 0, false, true, true},
    {"equal_sizes_keep_width", 300, 31, 120, 120, 0, -50, 31, 0, false, false, false},
};

class ScaledFontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(ScaledFontTest, DescribesTheRequestedSize) {
    const FontCase& c = GetParam();
    RecordingDevice device;
    device.logical_dpi = c.dpi;
    device.metrics.ave_char_width = c.face_width;
    const platform::ObjectCounts before = platform::live_objects();

    platform::Font* font =
        create_scaled_font(device, "Times New Roman", c.height, c.width, c.attributes, 1);

    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->description.face, "Times New Roman");
    EXPECT_EQ(font->description.height, c.lf_height);
    EXPECT_EQ(font->description.width, c.lf_width);
    EXPECT_EQ(font->description.weight, c.weight);
    EXPECT_EQ(font->description.italic, c.italic);
    EXPECT_EQ(font->description.underline, c.underline);
    EXPECT_EQ(font->description.strike_out, c.strike_out);
    EXPECT_EQ(platform::live_objects().fonts, before.fonts + 1);
    EXPECT_FALSE(device.font.has_value()) << "the device's own font is selected back";
    EXPECT_EQ(device.log->count(Call::select_font), c.width == 0 ? 0 : 2);
    platform::delete_object(font);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScaledFontTest, ::testing::ValuesIn(font_cases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ScaledFontPhysicalTest, PhysicalResolutionIsPixelsOverMillimetres) {
    // 1000 pixels on 84 mm: 302.38 pixels per inch; 100 tenths give py = 419, lfHeight -42.
    RecordingDevice device;
    device.logical_dpi = 96;
    device.width_pixels = device.height_pixels = 1000;
    device.width_millimetres = device.height_millimetres = 84;
    platform::Font* font = create_scaled_font(device, "Times New Roman", 100, 0, 0, 0);
    EXPECT_EQ(font->description.height, -42);
    platform::delete_object(font);
}

TEST(ScaledFontFaceTest, LongFaceNamesAreCut) {
    RecordingDevice device;
    const std::string face(40, 'F');
    platform::Font* font = create_scaled_font(device, face, 100, 0, 0, 1);
    EXPECT_EQ(font->description.face, std::string(31, 'F'));
    platform::delete_object(font);
}

class TextTest : public RecordingPlotterTest {
  protected:
    void SetUp() override {
        open_screen();
        plotter.set_viewport(10, 90, 10, 90, clip_on);
        screen_log().clear();
    }
};

TEST_F(TextTest, ScreenOutputTakesItsMetricsFromTheScreenFont) {
    EXPECT_EQ(plotter.char_width, 7);
    EXPECT_EQ(plotter.line_height, 16);
    ASSERT_NE(plotter.font, nullptr);
    EXPECT_EQ(plotter.font->description.height, -13);
}

TEST_F(TextTest, TextContinuesAfterTheFirstExtent) {
    const int x = plotter.text_x;
    plotter.put_text("abc");
    plotter.put_text("de");
    const auto texts = screen_log().of(Call::text_out);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].args, (std::vector<int>{x, plotter.text_y}));
    EXPECT_EQ(texts[1].args, (std::vector<int>{x + 21, plotter.text_y}));
    EXPECT_EQ(plotter.text_x, x + 35);
    EXPECT_EQ(plotter.text_extent, (platform::Extent{14, 16}));
}

TEST_F(TextTest, EmptyTextDrawsNothing) {
    const int x = plotter.text_x;
    plotter.put_text("");
    EXPECT_EQ(screen_log().count(Call::text_out), 0);
    EXPECT_EQ(plotter.text_x, x);
}

TEST_F(TextTest, TextIsDrawnInTheCurrentColours) {
    plotter.set_colours(brush_pale_orange, pen_dark_green, pen_black, pen_blue);
    plotter.put_text("x");
    EXPECT_EQ(device().background_colour, background_colours[brush_pale_orange]);
    EXPECT_EQ(screen_log().of(Call::text_out).at(0).colour, pen_colours[pen_blue]);
    plotter.set_text_colour(pen_red);
    plotter.set_text_colour(26);
    EXPECT_EQ(plotter.text_colour, 11);
    plotter.put_text("y");
    EXPECT_EQ(screen_log().of(Call::text_out).at(1).colour, pen_colours[pen_red]);
}

TEST_F(TextTest, PrintLineFormatsAndMovesToTheNextLine) {
    const int y = plotter.text_y;
    plotter.put_text("rot");
    plotter.print_line("rot  = %8.2f", 12.5);
    EXPECT_EQ(screen_log().of(Call::text_out).back().text, "rot  =    12.50");
    EXPECT_EQ(plotter.text_x, plotter.text_margin);
    EXPECT_EQ(plotter.text_y, y + 16);
}

TEST_F(TextTest, PrintLineKeepsSeventyNineCharacters) {
    const std::string long_text(200, 'z');
    plotter.print_line("%s", long_text.c_str());
    EXPECT_EQ(screen_log().of(Call::text_out).at(0).text, std::string(79, 'z'));
}

TEST_F(TextTest, CursorMovesByLines) {
    const int first = plotter.vp_top + plotter.line_height;
    plotter.print_line("one");
    plotter.print_line("two");
    plotter.next_line(0);
    EXPECT_EQ(plotter.text_y, first);
    plotter.next_line(2);
    EXPECT_EQ(plotter.text_y, first + 32);
    plotter.put_text("abc");
    plotter.indent_line(9);
    EXPECT_EQ(plotter.text_y, first + 48);
    EXPECT_EQ(plotter.text_x, plotter.text_margin + 63);
    plotter.next_line(1);
    EXPECT_EQ(plotter.text_x, plotter.text_margin);
}

}  // namespace
}  // namespace toven::test_support
