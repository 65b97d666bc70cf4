// On a screen that Qt scales by two (this program runs with QT_SCALE_FACTOR=2) the windows'
// devices count the screen's physical pixels: pages are drawn at full resolution and shown
// one to one, lines stay one pixel wide, text follows the doubled resolution, and the mouse
// reports the pixel under it.
#include <memory>

#include "platform/picture_files.h"
#include "plotter/plotter.h"
#include "tests/app/shell_fixture.h"

namespace toven::test_support {
namespace {

using ScaledScreenTest = ShellTest;

// The lengths of the runs of `colour` along row `y` from `left` to `right`.
std::vector<int> runs_along_row(const platform::Image& image, int y, int left, int right,
                                platform::ColourRef colour) {
    std::vector<int> runs;
    int run = 0;
    for (int x = left; x < right; ++x) {
        if (image.at(x, y) == colour) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0) {
        runs.push_back(run);
    }
    return runs;
}

TEST_F(ScaledScreenTest, ChildWindowsHaveTwiceThePixelsOfTheirSize) {
    command(screen);
    command(help);
    struct Child {
        const char* name;
        platform::Window* window;
        platform::Extent pixels;
    };
    for (const Child& child : {Child{"plot", state.plot_window, {400, 400}},
                               Child{"help", state.help_window, {1300, 860}}}) {
        SCOPED_TRACE(child.name);
        EXPECT_EQ(child.window->client_rect(),
                  (platform::Rect{0, 0, child.pixels.cx, child.pixels.cy}));
        EXPECT_EQ(platform::inject::backing_image_size(child.window), child.pixels);
        EXPECT_EQ(platform::window_rect(child.window).left, 30) << "placed in screen units";
    }
}

// The screen shows the backing image pixel for pixel: nothing is drawn at half resolution
// and stretched.
TEST_F(ScaledScreenTest, PagesAreShownPixelForPixel) {
    command(screen);
    command(help);
    platform::inject::click(state.plot_window, {20, 20});
    for (platform::Window* window : {state.plot_window, state.help_window}) {
        const platform::Image drawn = platform::snapshot(*window);
        const platform::Image shown = platform::inject::shown_on_screen(window);
        ASSERT_EQ(shown.width, drawn.width);
        ASSERT_EQ(shown.height, drawn.height);
        EXPECT_EQ(shown.pixels, drawn.pixels);
        EXPECT_GT(count_not(shown, white), 0);
    }
}

// Along a row through the middle of the mini grid (77..98 percent across, 54..75 up), its
// border and its nine grid lines are each one pixel wide.
TEST_F(ScaledScreenTest, OnePixelLinesStayOnePhysicalPixelWide) {
    command(screen);
    platform::inject::click(state.plot_window, {20, 20});
    const platform::Image shown = platform::inject::shown_on_screen(state.plot_window);
    const std::vector<int> runs = runs_along_row(shown, 130, 300, 400, dark_green);
    EXPECT_GE(runs.size(), 9u);
    for (int run : runs) {
        EXPECT_EQ(run, 1);
    }
}

TEST_F(ScaledScreenTest, TextFollowsTheDoubledResolution) {
    command(screen);
    platform::inject::click(state.plot_window, {20, 20});
    auto page = platform::create_offscreen_window(400, 400);
    Plotter unscaled(page.get());
    unscaled.begin_output(screen_output);
    EXPECT_NEAR(state.plotter->line_height, 2 * unscaled.line_height, 1);
    EXPECT_NEAR(state.plotter->char_width, 2 * unscaled.char_width, 1);
    unscaled.end_output();
}

// The mouse reports the pixel under it, an odd one too, and a move one pixel past the edge
// is outside the window.
TEST_F(ScaledScreenTest, TheMouseReportsThePixelUnderIt) {
    command(screen);
    platform::inject::click(state.plot_window, {20, 20});
    struct Move {
        const char* name;
        platform::Point to;
        platform::Point read;
    };
    for (const Move& move :
         {Move{"odd_pixel", {341, 121}, {341, 121}}, Move{"last_pixel", {399, 399}, {399, 399}},
          Move{"past_the_edge", {400, 10}, {399, 399}}}) {
        SCOPED_TRACE(move.name);
        platform::inject::drag_mouse(state.plot_window, move.to);
        EXPECT_EQ(state.mouse_x, move.read.x);
        EXPECT_EQ(state.mouse_y, move.read.y);
    }
    EXPECT_EQ(state.plotter->to_world_x(399, clamp_on), 1.0)
        << "the right edge of a 400-pixel page";
}

}  // namespace
}  // namespace toven::test_support
