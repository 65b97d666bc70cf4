// Pens, frames, fills, panels, lines and grids, read from the calls the Plotter makes.
#include "tests/plotter/plotter_fixture.h"

namespace toven::test_support {
namespace {

class DrawingTest : public RecordingPlotterTest {
  protected:
    void SetUp() override {
        open_screen();
        plotter.set_viewport(0, 100, 0, 100, clip_on);
        plotter.set_world_window(0, 10, 0, 10);
        screen_log().clear();
    }
};

TEST_F(DrawingTest, PenNumbersOutsideTheTableAreIgnored) {
    plotter.select_pen(25);
    EXPECT_EQ(plotter.pen_number, 25);
    EXPECT_EQ(device().pen_colour, pen_colours[25]);
    plotter.select_pen(26);
    plotter.select_pen(-1);
    EXPECT_EQ(plotter.pen_number, 25);
    EXPECT_EQ(screen_log().count(Call::select_pen), 1);
}

TEST_F(DrawingTest, PenWidthRemakesEveryPen) {
    plotter.set_pen_width(3);
    plotter.select_pen(pen_blue);
    EXPECT_EQ(device().pen_width, 3);
    EXPECT_EQ(device().pen_colour, pen_colours[pen_blue]);
    EXPECT_EQ(plotter.pen_number, 9);
}

TEST_F(DrawingTest, FrameLiftsClippingAndRestoresPen) {
    plotter.set_viewport(10, 90, 10, 90, clip_on);
    plotter.select_pen(pen_blue);
    plotter.frame_pen = 3;
    screen_log().clear();

    plotter.draw_frame(-1);

    const auto& calls = screen_log().calls;
    ASSERT_EQ(calls.size(), 5u) << screen_log().describe();
    EXPECT_EQ(calls[0].call, Call::select_clip_region);
    EXPECT_TRUE(calls[0].null);
    EXPECT_EQ(calls[1].call, Call::select_pen);
    EXPECT_EQ(calls[1].colour, pen_colours[pen_dark_red]);
    EXPECT_EQ(calls[2].call, Call::rectangle);
    EXPECT_EQ(calls[2].args, (std::vector<int>{64, 48, 576, 432}));
    EXPECT_EQ(calls[3].call, Call::select_clip_region);
    EXPECT_EQ(calls[3].args, (std::vector<int>{64, 48, 576, 432}));
    EXPECT_EQ(calls[4].call, Call::select_pen);
    EXPECT_EQ(calls[4].colour, pen_colours[pen_blue]);
    EXPECT_EQ(plotter.pen_number, 9);
    EXPECT_EQ(plotter.clipping, clip_on);
}

TEST_F(DrawingTest, FrameWithoutClippingLeavesClipAlone) {
    plotter.set_viewport(10, 90, 10, 90, clip_off);
    screen_log().clear();
    plotter.draw_frame(pen_dark_cyan);
    EXPECT_EQ(screen_log().count(Call::select_clip_region), 0);
    EXPECT_EQ(screen_log().of(Call::rectangle).at(0).colour, pen_colours[pen_dark_cyan]);
    EXPECT_EQ(plotter.clipping, clip_off);
}

TEST_F(DrawingTest, FillsOnlyWithBackgroundNumbers) {
    plotter.fill_viewport(10);
    plotter.fill_viewport(-1);
    EXPECT_EQ(screen_log().count(Call::fill_region), 0);
    plotter.fill_viewport(brush_pale_orange);
    const auto fills = screen_log().of(Call::fill_region);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].colour, background_colours[brush_pale_orange]);
    EXPECT_EQ(fills[0].args, (std::vector<int>{0, 0, 640, 480}));
    EXPECT_EQ(plotter.brush_number, 3);
    EXPECT_EQ(device().brush_colour, background_colours[brush_pale_orange]);
}

TEST_F(DrawingTest, FramedViewportPutsCursorAThirdOfALineDown) {
    plotter.set_viewport(10, 90, 10, 90, clip_on);
    plotter.frame_viewport(brush_pale_cyan);
    EXPECT_EQ(plotter.text_x, plotter.vp_left + plotter.char_width);
    EXPECT_EQ(plotter.text_margin, plotter.text_x);
    EXPECT_EQ(plotter.text_y, plotter.vp_top + plotter.line_height / 3);
}

TEST_F(DrawingTest, UnframedPanelReturnsToTheFramedCursor) {
    PanelLayout layout{20, 60, 30, 70, 6, 3, 10, 11, 1, 1};
    plotter.open_panel(layout, panel_framed);
    const int first_x = plotter.text_x;
    const int first_y = plotter.text_y;
    EXPECT_EQ(layout.text_x, first_x);
    EXPECT_EQ(layout.text_y, first_y);
    plotter.print_line("a line");
    plotter.print_line("another");

    plotter.open_panel(layout, panel_unframed);

    EXPECT_EQ(plotter.text_x, first_x);
    EXPECT_EQ(plotter.text_y, first_y);
    EXPECT_EQ(plotter.brush_number, 6);
    EXPECT_EQ(plotter.frame_pen, 3);
    EXPECT_EQ(plotter.pen_number, 10);
    EXPECT_EQ(plotter.text_colour, 11);
    EXPECT_EQ(plotter.clipping, clip_on);
    EXPECT_EQ(device().clip, plotter.viewport_rect);
}

TEST_F(DrawingTest, RectangleClosesOnItsFirstCorner) {
    plotter.select_pen(pen_green);
    plotter.draw_rect(1, 4, 2, 6);
    EXPECT_EQ(plotter.cur_x, 1);
    EXPECT_EQ(plotter.cur_y, 2);
    const std::vector<Segment> expected = {
        {{64, 384}, {256, 384}, pen_colours[pen_green], 1},
        {{256, 384}, {256, 192}, pen_colours[pen_green], 1},
        {{256, 192}, {64, 192}, pen_colours[pen_green], 1},
        {{64, 192}, {64, 384}, pen_colours[pen_green], 1},
    };
    EXPECT_EQ(screen_log().segments, expected);
}

TEST_F(DrawingTest, LinesRecordTheirEndPoint) {
    plotter.move_to(2.5, 7.5);
    EXPECT_EQ(plotter.cur_px, 160);
    EXPECT_EQ(plotter.cur_py, 120);
    plotter.line_to(5, 5);
    EXPECT_EQ(plotter.cur_x, 5);
    EXPECT_EQ(plotter.cur_px, 320);
    EXPECT_EQ(plotter.cur_py, 240);
}

// On the whole 640 x 480 area with a world window of 0..10: divisions every 64 and 48
// device units; lines of 1.2 viewport widths (768 units) from the bottom and left edges,
// the vertical ones ending at 480 - 768 + 0.5, truncated toward zero.
TEST_F(DrawingTest, GridDrawsDivisionLinesInTheFramePen) {
    plotter.select_pen(pen_blue);
    plotter.set_world_window(-3, 7, 2, 12);
    const double x_scale = plotter.x_scale;
    const double y_scale = plotter.y_scale;
    screen_log().clear();

    plotter.draw_grid(10, 10, 400);

    std::vector<Segment> expected;
    for (int i = 1; i < 10; ++i) {
        expected.push_back({{64 * i, 480}, {64 * i, -287}, pen_colours[pen_dark_green], 1});
    }
    for (int j = 1; j < 10; ++j) {
        expected.push_back(
            {{0, 480 - 48 * j}, {768, 480 - 48 * j}, pen_colours[pen_dark_green], 1});
    }
    EXPECT_EQ(screen_log().segments, expected) << screen_log().describe();
    EXPECT_EQ(plotter.world_left, -3);
    EXPECT_EQ(plotter.world_right, 7);
    EXPECT_EQ(plotter.world_bottom, 2);
    EXPECT_EQ(plotter.world_top, 12);
    EXPECT_EQ(plotter.x_scale, x_scale);
    EXPECT_EQ(plotter.y_scale, y_scale);
    EXPECT_EQ(plotter.pen_number, 9);
    EXPECT_EQ(device().pen_colour, pen_colours[pen_blue]);
}

TEST_F(DrawingTest, GridsWithoutDivisionsDrawNothing) {
    const struct {
        int nx, ny, length;
    } cases[] = {{1, 1, 400}, {0, 10, 400}, {10, 0, 400}, {10, 10, 0}};
    for (const auto& c : cases) {
        plotter.draw_grid(c.nx, c.ny, c.length);
    }
    EXPECT_TRUE(screen_log().segments.empty());
    EXPECT_EQ(plotter.world_right, 10);
}

TEST_F(DrawingTest, ShortGridLengthsGiveTicks) {
    plotter.draw_grid(4, 2, 10);
    // 0.003 x 10 viewport widths: 19.2 units, truncated after adding a half.
    ASSERT_EQ(screen_log().segments.size(), 4u);
    EXPECT_EQ(screen_log().segments[0].to, (platform::Point{160, 480 - 19}));
    EXPECT_EQ(screen_log().segments[3].to, (platform::Point{19, 240}));
}

TEST_F(DrawingTest, ColoursChangeOnlyWhileColourIsOn) {
    plotter.set_colours(brush_pale_orange, pen_dark_cyan, pen_dark_yellow, pen_blue);
    EXPECT_EQ(plotter.brush_number, 3);
    EXPECT_EQ(plotter.frame_pen, 4);
    EXPECT_EQ(plotter.pen_number, 6);
    EXPECT_EQ(plotter.text_colour, 9);
    plotter.printing = printer_output;
    plotter.colour = monochrome;
    plotter.set_colours(brush_azure, pen_dark_blue, pen_dark_blue, pen_dark_blue);
    plotter.select_pen(pen_grey);
    plotter.fill_viewport(brush_pale_pink);
    plotter.set_text_colour(pen_cyan);
    EXPECT_EQ(plotter.brush_number, 3);
    EXPECT_EQ(plotter.frame_pen, 4);
    EXPECT_EQ(plotter.pen_number, 6);
    EXPECT_EQ(plotter.text_colour, 9);
    EXPECT_EQ(screen_log().count(Call::select_pen), 0);
    EXPECT_EQ(screen_log().count(Call::fill_region), 0);
    EXPECT_EQ(screen_log().count(Call::set_text_colour), 0);
    plotter.printing = screen_output;
    plotter.colour = in_colour;
}

}  // namespace
}  // namespace toven::test_support
