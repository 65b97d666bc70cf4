// The whole program as a person uses it, through real window-system events: menus, the data
// boxes' list, edit and button, clicks and mouse moves in the plot window, the close boxes.
// What the plot window shows is compared with the same page drawn on an offscreen window.
#include <ostream>
#include "platform/picture_files.h"
#include "surface/plot_driver.h"

#include "tests/app/shell_fixture.h"

namespace toven::test_support {
namespace {

using platform::MessageBoxAnswer;
using platform::inject::Key;

constexpr int plot_width = 640;
constexpr int plot_height = 480;

class JourneyTest : public ShellTest {
  protected:
    void choose(MenuCommand chosen) {
        ASSERT_TRUE(platform::inject::choose_menu_command(main_window, command_number(chosen)));
    }

    void edit_line(DataBox& box, int line, const std::string& text) {
        platform::inject::double_click_line(box.list, line);
        platform::inject::press_key(box.edit, Key::select_all);
        platform::inject::type_text(box.edit, text);
    }

    // The page a screen plot and a readout at the mouse position draw from the tables as
    // they are now, on an offscreen window of the plot window's client size.
    platform::Image reference_page(bool with_readout) {
        const platform::Rect client = state.plot_window->client_rect();
        auto picture = platform::create_offscreen_window(client.width(), client.height());
        platform::Image page;
        {
            SurfacePlotter reference(picture.get());
            SurfaceFunction function(fdata);
            GraphParameters graph_parameters;
            bool readout_ready = false;
            const PlotContext context{reference,     function,         fdata,
                                      sdata,         graph_parameters, readout_ready,
                                      state.mouse_x, state.mouse_y};
            draw_plot(context, plot_page, screen_output);
            if (with_readout) {
                draw_plot(context, plot_readout, screen_output);
            }
            page = platform::snapshot(*picture);
            reference.end_output();
        }
        return page;
    }

    // The readout panel's area: 77 to 98 percent across, 77 to 90 percent up.
    static platform::Rect readout_area(const platform::Image& page) {
        return {page.width * 77 / 100, page.height - page.height * 90 / 100, page.width * 98 / 100,
                page.height - page.height * 77 / 100};
    }
    // The middle of the mini grid: 77 to 98 percent across, 54 to 75 percent up.
    static platform::Point mini_grid_point(double across, double up) {
        const double x = 0.77 + 0.21 * across;
        const double y = 0.54 + 0.21 * up;
        return {static_cast<int>(plot_width * x), static_cast<int>(plot_height * (1 - y))};
    }
};

TEST_F(JourneyTest, EditPlotReadPrintAndPlotAgain) {
    choose(fdata_command);
    ASSERT_NE(state.fdata_box, nullptr);
    edit_line(*state.fdata_box, 5, "f(x,y) = a*x*y");
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 5), "f(x,y) = a*x*y");
    platform::inject::click(state.fdata_box->button);
    EXPECT_STREQ(record_value(fdata[6]), "a*x*y");

    choose(screen);
    ASSERT_NE(state.plot_window, nullptr);
    platform::inject::resize(state.plot_window, plot_width, plot_height);
    ASSERT_EQ(state.plot_window->client_rect(), (platform::Rect{0, 0, plot_width, plot_height}));
    platform::inject::click(state.plot_window, {10, 10});
    EXPECT_TRUE(state.readout_ready);
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, reference_page(false).pixels)
        << "the plot window shows the page of the new formula";

    const platform::Image before_move = platform::snapshot(*state.plot_window);
    const platform::Point corner = mini_grid_point(0.75, 0.75);
    platform::inject::move_mouse(state.plot_window, corner);
    EXPECT_EQ(state.mouse_x, corner.x);
    EXPECT_EQ(state.mouse_y, corner.y);
    const platform::Image read = platform::snapshot(*state.plot_window);
    EXPECT_NE(read.pixels, before_move.pixels) << "the readout panel shows x, y and f(x,y)";
    EXPECT_GT(count_colour(read, readout_area(read), dark_blue), 50);
    EXPECT_EQ(read.pixels, reference_page(true).pixels)
        << "the readout shows f at the mouse, with the formula typed in the data box";

    // A print answered Yes and Yes goes to the printer; the page is the new formula's.
    use_recording_printer();
    record_prints();
    boxes.clear_shown();
    boxes.queue_answer(MessageBoxAnswer::yes);
    boxes.queue_answer(MessageBoxAnswer::yes);
    choose(print);
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[0].caption, "Shall we print to ");
    EXPECT_EQ(boxes.shown()[1].text, "Colour ?");
    EXPECT_EQ(boxes.shown()[2].text, "Printing is Finished");
    bool formula_printed = false;
    for (const RecordedCall& call : printed->of(Call::text_out)) {
        formula_printed = formula_printed || call.text == "f(x,y) = a*x*y";
    }
    EXPECT_TRUE(formula_printed);

    // Declined, the page with the printer's layout is drawn on the main window instead.
    boxes.clear_shown();
    boxes.queue_answer(MessageBoxAnswer::no);
    const int pages = printed->count(Call::start_page);
    choose(print);
    EXPECT_EQ(printed->count(Call::start_page), pages);
    EXPECT_FALSE(box_shown("Printing is Finished"));
    EXPECT_GT(count_not(platform::snapshot(*main_window), white), 1000);

    // No readout until the next click plots again, in the plot window.
    const platform::Image after_prints = platform::snapshot(*state.plot_window);
    platform::inject::move_mouse(state.plot_window, mini_grid_point(0.5, 0.5));
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, after_prints.pixels);
    platform::inject::click(state.plot_window, {10, 10});
    platform::inject::move_mouse(state.plot_window, mini_grid_point(0.25, 0.5));
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, reference_page(true).pixels);

    choose(exit);
    EXPECT_TRUE(platform::live_windows().empty());
    EXPECT_EQ(platform::take_posted_quit(), 0);
}

TEST_F(JourneyTest, ResizingThePlotWindowStopsTheReadoutUntilTheNextClick) {
    choose(screen);
    platform::inject::resize(state.plot_window, plot_width, plot_height);
    platform::inject::click(state.plot_window, {10, 10});
    platform::inject::resize(state.plot_window, plot_width, plot_height + 20);
    const platform::Image resized = platform::snapshot(*state.plot_window);
    platform::inject::move_mouse(state.plot_window, mini_grid_point(0.5, 0.5));
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, resized.pixels);
}

TEST_F(JourneyTest, AFormulaThatDoesNotParseIsReportedOverThePlotWindow) {
    choose(fdata_command);
    edit_line(*state.fdata_box, 5, "f(x,y) = x*(y");
    platform::inject::close(state.fdata_window);
    choose(screen);
    platform::inject::click(state.plot_window, {10, 10});
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown()[0].owner, state.plot_window);
    EXPECT_GT(count_not(platform::snapshot(*state.plot_window), white), 1000)
        << "the page is drawn with f = 0";
}

// Every window closed by its close box, in an order that leaves the main window last or
// first: the data boxes write back, the Plotter goes with the current plot window.
struct ClosingCase {
    const char* name;
    bool main_window_first;
};
void PrintTo(const ClosingCase& test, std::ostream* out) {
    *out << test.name;
}

class ClosingOrderTest : public JourneyTest, public testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingOrderTest, EditsSurviveAndEverythingIsReleased) {
    choose(fdata_command);
    choose(gdata);
    choose(screen);
    choose(help);
    platform::inject::click(state.plot_window, {10, 10});
    edit_line(*state.fdata_box, 0, "a = 5");
    edit_line(*state.sdata_box, 9, "tilt      = 30");
    if (!GetParam().main_window_first) {
        for (platform::Window* window :
             {state.plot_window, state.help_window, state.sdata_window, state.fdata_window}) {
            platform::inject::close(window);
            platform::inject::process_events();
        }
        EXPECT_EQ(state.plotter, nullptr);
        EXPECT_TRUE(state.help_closed);
    }
    platform::inject::close(main_window);
    EXPECT_EQ(fdata[1].value(), "5");
    EXPECT_EQ(sdata[10].value(), "30");
    EXPECT_TRUE(platform::live_windows().empty());
    EXPECT_EQ(platform::take_posted_quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Orders, ClosingOrderTest,
                         testing::Values(ClosingCase{"children_then_main", false},
                                         ClosingCase{"main_window_first", true}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace toven::test_support
