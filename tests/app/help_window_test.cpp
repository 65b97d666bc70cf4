// The help window: its text, where and in which colours it is drawn, and its one-window guard.
#include "app/window/help_window.h"

#include "platform/picture_files.h"
#include "plotter/plotter.h"
#include "tests/app/shell_fixture.h"

namespace toven::test_support {
namespace {

using HelpWindowTest = ShellTest;

// The character width and line height the help's own Plotter gets on a window of this size.
struct TextCell {
    int c;
    int h;
};
TextCell text_cell(const platform::Rect& client) {
    auto picture = platform::create_offscreen_window(client.width(), client.height());
    Plotter measuring(picture.get());
    measuring.begin_output(screen_output);
    TextCell cell{measuring.char_width, measuring.line_height};
    measuring.end_output();
    return cell;
}

// The leftmost column holding a pixel of `colour` inside `area`, or -1.
int leftmost(const platform::Image& image, platform::ColourRef colour, const platform::Rect& area) {
    for (int x = area.left; x < area.right; ++x) {
        for (int y = area.top; y < area.bottom; ++y) {
            if (image.at(x, y) == colour) {
                return x;
            }
        }
    }
    return -1;
}

// The text word for word, blanks included: also its two outdated statements about the frame
// and the underside's colour, which a user compares with the README.
TEST(HelpTextTest, TheFiveSectionsWordForWord) {
    const std::vector<HelpSection> expected = {
        {"Menu:", {"Open, arrange, and size Plot (and Data) window(s), then click to activate."}},
        {"Screen:   ",
         {"Screen plots are started or refreshed by a mouse click.",
          "By moving the mouse over the mini grid, we get function values.",
          "Avoid clicking mouse over mini grid since this will also start a replot."}},
        {"Fdata: ",
         {"The function f(x,y) and its optional parameters a b c d e,",
          "Use * for multiplication, / for division, ^ for powers, |x| = abs(x),",
          "If there is a parse error, the program warns and sets f(x,y) = 0.",
          "To update revised data, press button [u] in data box."}},
        {"Gdata: ",
         {"Sets the graph scale parameters for box (x1,x2,y1,y2,z1,z2),",
          "and tilt angle. m and n are number of xy mesh points; k is the number",
          "of steps on curve between mesh points.  Choose m > n. This fixes rot angle.",
          "Axes: ax = (0, 1);  Frame: fc (0,c), c = colour;  Plot colours = (pc, pc-5)."}},
        {"Print:", {"Prints all but the mini grid to the default printer."}},
    };
    const auto& sections = help_sections();
    ASSERT_EQ(sections.size(), expected.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        EXPECT_EQ(sections[i].heading, expected[i].heading);
        EXPECT_EQ(sections[i].lines, expected[i].lines) << expected[i].heading;
    }
}

TEST_F(HelpWindowTest, ThePanelAndTheTextSitAtTheirPlaces) {
    command(help);
    ASSERT_NE(state.help_window, nullptr);
    EXPECT_FALSE(state.help_closed);
    EXPECT_EQ(platform::window_title(state.help_window), "help");
    const platform::Rect client = state.help_window->client_rect();
    EXPECT_EQ(client, (platform::Rect{0, 0, 650, 430}));
    const platform::Image image = platform::snapshot(*state.help_window);
    const auto [c, h] = text_cell(client);

    // 1 % margins left and right, 2 % at top and bottom.
    const int left = 650 * 1 / 100;
    const int right = 650 * 99 / 100;
    const int top = 430 - 430 * 98 / 100;
    EXPECT_EQ(image.at(left - 1, 200), white);
    EXPECT_EQ(image.at(left, 200), dark_green) << "the frame";
    EXPECT_EQ(image.at(left + 2, top + 2), pale_yellow) << "the panel";
    EXPECT_EQ(image.at(right + 1, 200), white);

    const platform::Rect panel{left + 1, top + 1, right - 1, 430 - 430 * 2 / 100 - 1};
    EXPECT_GT(count_colour(image, panel, dark_red), 0) << "headings";
    EXPECT_GT(count_colour(image, panel, dark_blue), 0) << "body lines";
    const int heading_x = leftmost(image, dark_red, panel);
    const int body_x = leftmost(image, dark_blue, panel);
    EXPECT_GE(heading_x, left + 3 * c);
    EXPECT_LT(heading_x, left + 4 * c);
    EXPECT_GE(body_x, left + 12 * c);
    EXPECT_LT(body_x, left + 13 * c);
    EXPECT_EQ(count_colour(image, {0, 0, 650, top + h / 3 + h}, dark_red), 0)
        << "the first heading starts a line and a third below the panel's top";
    EXPECT_GT(count_colour(image, {0, top + h / 3 + h, 650, top + h / 3 + 2 * h}, dark_red), 0);
}

TEST_F(HelpWindowTest, HelpWhileOpenDoesNothingAndAClickRedraws) {
    command(help);
    platform::Window* first = state.help_window;
    command(help);
    EXPECT_EQ(state.help_window, first);
    EXPECT_EQ(platform::live_windows().size(), 2u);

    const platform::Image drawn = platform::snapshot(*state.help_window);
    platform::Device* device = state.help_window->get_device();
    platform::Brush* white_brush = platform::create_solid_brush(white);
    platform::Region* all = platform::create_rect_region(state.help_window->client_rect());
    device->fill_region(*all, *white_brush);
    state.help_window->release_device(device);
    platform::delete_object(all);
    platform::delete_object(white_brush);
    ASSERT_EQ(count_not(platform::snapshot(*state.help_window), white), 0);

    platform::inject::click(state.help_window, {300, 200});
    EXPECT_EQ(platform::snapshot(*state.help_window).pixels, drawn.pixels);
}

TEST_F(HelpWindowTest, AClickInTheHelpWindowLeavesThePlotAlone) {
    command(screen);
    platform::inject::click(state.plot_window, {100, 100});
    const platform::Image plot = platform::snapshot(*state.plot_window);
    const int pen = state.plotter->pen_number;
    const int width = state.plotter->device_width;
    command(help);
    platform::inject::click(state.help_window, {10, 10});
    EXPECT_EQ(state.plotter->window, state.plot_window);
    EXPECT_EQ(state.plotter->pen_number, pen);
    EXPECT_EQ(state.plotter->device_width, width);
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, plot.pixels);
}

TEST_F(HelpWindowTest, ClosingTheHelpWindowLetsHelpOpenItAgain) {
    command(help);
    platform::inject::close(state.help_window);
    EXPECT_TRUE(state.help_closed);
    EXPECT_EQ(state.help_window, nullptr);
    command(help);
    EXPECT_NE(state.help_window, nullptr);
}

}  // namespace
}  // namespace toven::test_support
