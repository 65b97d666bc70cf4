// The shell's commands and window procedures, called with messages as the window system
// sends them: which window a plot goes to, the one-window guards, what is released when.
#include <chrono>
#include <ostream>

#include "app/command/command_line.h"
#include "app/files/data_file.h"
#include "app/version.h"
#include "app/window/app_state.h"
#include "platform/picture_files.h"
#include "tests/app/shell_fixture.h"

namespace toven::test_support {
namespace {

using platform::MessageBoxAnswer;

TEST_F(ShellTest, TheMainWindowCarriesTheMenu) {
    EXPECT_EQ(platform::window_title(main_window), "toven");
    EXPECT_TRUE(platform::is_visible(main_window));
    EXPECT_EQ(platform::inject::menu_outline(main_window),
              (std::vector<std::string>{"E&xit 10", "&Data", "  &Fdata 30", "  -", "  &Gdata 40",
                                        "  -", "  &Open... 45", "  Save &As... 47",
                                        "  &Sliders... 48", "&Plot", "  &Screen 50", "  &Print 60",
                                        "  Sa&ve... 70", "&Help 90", "&About 99"}));
}

TEST_F(ShellTest, ChildWindowsOpenAtTheSamePlaceOwnedByTheMainWindow) {
    command(fdata_command);
    command(gdata);
    command(screen);
    command(help);
    struct Child {
        platform::Window* window;
        const char* title;
        platform::Rect client;
    };
    for (const Child& child : {Child{state.fdata_window, "fdata", {0, 0, 200, 200}},
                               Child{state.sdata_window, "sdata", {0, 0, 200, 200}},
                               Child{state.plot_window, "plot", {0, 0, 200, 200}},
                               Child{state.help_window, "help", {0, 0, 650, 430}}}) {
        SCOPED_TRACE(child.title);
        const platform::Rect frame = platform::window_rect(child.window);
        EXPECT_EQ(frame.left, 30);
        EXPECT_EQ(frame.top, 50);
        EXPECT_EQ(child.window->client_rect(), child.client);
        EXPECT_EQ(platform::window_title(child.window), child.title);
        EXPECT_EQ(platform::window_owner(child.window), main_window);
        EXPECT_EQ(platform::inject::window_manager_owner(child.window), main_window)
            << "the window manager keeps it above the main window and minimises it with it";
    }
    EXPECT_EQ(platform::inject::window_manager_owner(main_window), nullptr);
}

TEST_F(ShellTest, ScreenMakesThePlotterButAClickDraws) {
    command(screen);
    ASSERT_NE(state.plotter, nullptr);
    ASSERT_NE(state.surface_function, nullptr);
    EXPECT_EQ(state.plotter->window, state.plot_window);
    EXPECT_EQ(count_not(platform::snapshot(*state.plot_window), white), 0);
    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_GT(count_not(platform::snapshot(*state.plot_window), white), 1000);
    EXPECT_TRUE(state.readout_ready);
}

TEST_F(ShellTest, ScreenTwiceLeavesTheFirstPlotWindowIdle) {
    command(screen);
    platform::Window* first = state.plot_window;
    command(screen);
    platform::Window* second = state.plot_window;
    ASSERT_NE(first, second);
    EXPECT_EQ(state.plotter->window, second);

    platform::inject::click(first, {20, 20});
    EXPECT_EQ(count_not(platform::snapshot(*first), white), 0) << "clicks in the first do nothing";
    platform::inject::close(first);
    EXPECT_NE(state.plotter, nullptr) << "closing the first releases nothing";
    EXPECT_EQ(state.plot_window, second);
    platform::inject::close(second);
    EXPECT_EQ(state.plotter, nullptr);
    EXPECT_EQ(state.surface_function, nullptr);
    EXPECT_FALSE(state.readout_ready);
}

// A plot window closed while the Plotter still draws in an older one: the held device goes
// back when the next plot or the release asks for it, never to a window that is gone.
TEST_F(ShellTest, ClosingAnOlderPlotWindowWhileItsOutputIsOpenIsSafe) {
    command(screen);
    platform::Window* first = state.plot_window;
    platform::inject::click(first, {20, 20});
    command(screen);
    platform::inject::close(first);
    platform::inject::process_events();
    platform::inject::move_mouse(state.plot_window, {150, 60});
    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_GT(count_not(platform::snapshot(*state.plot_window), white), 1000);
}

// A formula that does not parse is shown over the plot window that drew it; once that
// window is gone, a print by the same function shows no box over it.
TEST_F(ShellTest, AFormulaThatDoesNotParseIsShownOverItsPlotWindow) {
    ASSERT_EQ(apply_assignment(state, "f(x,y)=2x"), std::nullopt);
    command(screen);
    platform::Window* first = state.plot_window;
    platform::inject::click(first, {20, 20});
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].owner, first);
    EXPECT_EQ(boxes.shown()[0].text, "f(x,y) = 2x");
    EXPECT_EQ(boxes.shown()[0].caption, "Parse error: therefore f(x,y) = 0");

    command(screen);
    platform::inject::close(first);
    boxes.clear_shown();
    record_prints();
    boxes.queue_answer(MessageBoxAnswer::yes);
    boxes.queue_answer(MessageBoxAnswer::yes);
    command(print);
    for (const platform::ShownMessageBox& box : boxes.shown()) {
        EXPECT_NE(box.owner, first) << box.caption;
    }
}

TEST_F(ShellTest, PrintWithoutAPlotWindowDrawsOnTheMainWindowWhenDeclined) {
    record_prints();
    boxes.queue_answer(MessageBoxAnswer::no);
    command(print);
    ASSERT_NE(state.plotter, nullptr);
    EXPECT_EQ(state.plotter->window, main_window);
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown()[0].caption, "Shall we print to ");
    EXPECT_EQ(boxes.shown()[0].text, "TestQueue");
    EXPECT_EQ(boxes.shown()[0].owner, main_window);
    EXPECT_FALSE(box_shown("Printing is Finished"));
    EXPECT_GT(count_not(platform::snapshot(*main_window), white), 1000);

    command(screen);
    EXPECT_EQ(state.plotter->window, state.plot_window)
        << "a later Screen points the Plotter at it";
}

TEST_F(ShellTest, AfterAPrintTheNextClickPlotsInThePlotWindow) {
    record_prints();
    command(screen);
    boxes.queue_answer(MessageBoxAnswer::no);
    command(print);
    EXPECT_EQ(state.plotter->window, state.plot_window);
    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_GT(count_not(platform::snapshot(*state.plot_window), white), 1000);
}

TEST_F(ShellTest, APrintedPageGoesToThePrinterAndIsReported) {
    record_prints();
    command(screen);
    use_recording_printer();
    boxes.queue_answer(MessageBoxAnswer::yes);
    boxes.queue_answer(MessageBoxAnswer::yes);
    command(print);
    EXPECT_TRUE(box_shown("Printing is Finished"));
    EXPECT_GT(printed->count(Call::line_to), 100);
    EXPECT_EQ(printed->count(Call::end_document), 1);
    EXPECT_EQ(state.plotter->window, state.plot_window);
    EXPECT_EQ(state.plotter->dc, nullptr);
}

// The busy cursor shows over the window being drawn, the main window for a print, and goes
// when the drawing ends, also for a refused page.
TEST_F(ShellTest, DrawingShowsTheBusyCursorUntilItEnds) {
    record_prints();
    command(screen);
    bool busy_while_printing = false;
    state.plotter->open_printer = [this, &busy_while_printing, log = printed](const std::string&) {
        busy_while_printing = platform::inject::shows_busy_cursor(main_window);
        return std::make_unique<RecordingDevice>("printer", log);
    };
    boxes.queue_answer(MessageBoxAnswer::yes);
    boxes.queue_answer(MessageBoxAnswer::yes);
    command(print);
    EXPECT_TRUE(busy_while_printing);
    EXPECT_FALSE(platform::inject::shows_busy_cursor(main_window));

    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_FALSE(platform::inject::shows_busy_cursor(state.plot_window)) << "after a page";
    set_line(sdata[8], (std::string(sdata[8].name) + " = 0").c_str());
    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_EQ(boxes.shown().back().caption, "Cannot plot");
    EXPECT_FALSE(platform::inject::shows_busy_cursor(state.plot_window)) << "after a refused page";
    command(help);
    EXPECT_FALSE(platform::inject::shows_busy_cursor(state.help_window)) << "after the help text";
}

// Clicks made while a page was drawing waited in the queue behind it; each would start a page
// over one the user has not yet seen, so they are dropped. A click made afterwards plots.
TEST_F(ShellTest, ClicksMadeWhileAPageDrewStartNoFurtherPage) {
    set_line(sdata[9], (std::string(sdata[9].name) + " = 100").c_str());
    command(screen);
    const auto started = std::chrono::steady_clock::now();
    platform::inject::click(state.plot_window, {20, 20});
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - started)
                          .count();
    ASSERT_GE(took, 8) << "a page that takes a while";
    platform::inject::move_mouse(state.plot_window, {170, 60});
    const platform::Image read = platform::snapshot(*state.plot_window);

    platform::inject::click_made_earlier(state.plot_window, {20, 20},
                                         static_cast<int>(took * 3 / 4));
    platform::inject::click_made_earlier(state.plot_window, {30, 20},
                                         static_cast<int>(took * 3 / 4));
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, read.pixels) << "the readout stays";
    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_NE(platform::snapshot(*state.plot_window).pixels, read.pixels)
        << "a new page, no readout";
}

// After a print the Plotter holds no device: mouse moves draw nothing until a click plots.
TEST_F(ShellTest, NoReadoutBetweenAPrintAndTheNextScreenPlot) {
    record_prints();
    command(screen);
    use_recording_printer();
    platform::inject::click(state.plot_window, {20, 20});
    boxes.queue_answer(MessageBoxAnswer::yes);
    boxes.queue_answer(MessageBoxAnswer::no);
    command(print);
    const platform::Image after_print = platform::snapshot(*state.plot_window);
    platform::inject::move_mouse(state.plot_window, {170, 60});
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, after_print.pixels);

    platform::inject::click(state.plot_window, {20, 20});
    const platform::Image replotted = platform::snapshot(*state.plot_window);
    platform::inject::move_mouse(state.plot_window, {170, 60});
    EXPECT_NE(platform::snapshot(*state.plot_window).pixels, replotted.pixels);
}

// Dragging off the window after a click: Qt still reports the moves, but the readout keeps
// the last position over the window instead of jumping to the opposite edge.
TEST_F(ShellTest, DraggingOffThePlotWindowLeavesTheReadoutAlone) {
    command(screen);
    platform::inject::click(state.plot_window, {170, 60});
    platform::inject::drag_mouse(state.plot_window, {170, 60});
    const platform::Image read = platform::snapshot(*state.plot_window);
    for (platform::Point outside : {platform::Point{-4, 60}, platform::Point{170, -2},
                                    platform::Point{230, 60}, platform::Point{170, 260}}) {
        platform::inject::drag_mouse(state.plot_window, outside);
        EXPECT_EQ(state.mouse_x, 170);
        EXPECT_EQ(state.mouse_y, 60);
        EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, read.pixels);
    }
}

TEST_F(ShellTest, PrintAfterThePlotWindowWasClosedUsesTheMainWindow) {
    record_prints();
    command(screen);
    platform::inject::close(state.plot_window);
    boxes.queue_answer(MessageBoxAnswer::no);
    command(print);
    EXPECT_EQ(state.plotter->window, main_window);
    command(screen);
    command(screen);
    EXPECT_EQ(state.plotter->window, state.plot_window);
}

// Any child window's new size stops the readout until the next click plot; a data or help
// window's creation delivers a first size too.
struct ResizeCase {
    const char* name;
    MenuCommand opener;
};
void PrintTo(const ResizeCase& test, std::ostream* out) {
    *out << test.name;
}

class ReadoutStopTest : public ShellTest, public testing::WithParamInterface<ResizeCase> {};

// The readout's cross goes with it, and the page under it comes back; a resized plot window
// shows no piece of the old page.
TEST_P(ReadoutStopTest, ANewChildWindowSizeStopsTheReadout) {
    command(screen);
    platform::inject::click(state.plot_window, {20, 20});
    ASSERT_TRUE(state.readout_ready);
    const platform::Image page = platform::snapshot(*state.plot_window);
    platform::inject::move_mouse(state.plot_window, {60, 110});
    ASSERT_TRUE(state.plotter->marker.drawn()) << "a cross on the mini grid";
    if (GetParam().opener == screen) {
        platform::inject::resize(state.plot_window, 300, 250);
    } else {
        command(GetParam().opener);
    }
    EXPECT_FALSE(state.readout_ready);
    const platform::Image after = platform::snapshot(*state.plot_window);
    if (GetParam().opener == screen) {
        EXPECT_EQ(count_not(after, white), 0);
    } else {
        const platform::ColourRef cross = pen_colours[grid_marker_pen];
        EXPECT_EQ(count_colour(after, cross), count_colour(page, cross));
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ReadoutStopTest,
                         testing::Values(ResizeCase{"plot_window_resized", screen},
                                         ResizeCase{"fdata_window_opened", fdata_command},
                                         ResizeCase{"sdata_window_opened", gdata},
                                         ResizeCase{"help_window_opened", help}),
                         [](const auto& test) { return std::string(test.param.name); });

// A resized plot window is white until the next click: no old page in a corner whose
// readout no longer answers.
TEST_F(ShellTest, AResizedPlotWindowIsWhiteUntilTheNextClick) {
    command(screen);
    platform::inject::click(state.plot_window, {20, 20});
    platform::inject::resize(state.plot_window, 300, 250);
    platform::inject::move_mouse(state.plot_window, {270, 80});
    const platform::Image resized = platform::snapshot(*state.plot_window);
    EXPECT_EQ(resized.width, 300);
    EXPECT_EQ(count_not(resized, white), 0);

    platform::inject::click(state.plot_window, {20, 20});
    const platform::Image replotted = platform::snapshot(*state.plot_window);
    EXPECT_GT(count_colour(replotted, {200, 0, 300, 250}, pale_yellow), 0)
        << "the next page fills the new size";
    platform::inject::move_mouse(state.plot_window, {270, 80});
    EXPECT_NE(platform::snapshot(*state.plot_window).pixels, replotted.pixels)
        << "the readout answers";
}

// Fdata, Gdata or Help while that window is open finds it again under a plot window: it comes
// to the front with the keyboard, and nothing else changes (no second window, no new box, no
// redraw, the line being edited kept).
struct FindAgainCase {
    const char* name;
    MenuCommand command;
    platform::Window* AppState::*window;
};
void PrintTo(const FindAgainCase& test, std::ostream* out) {
    *out << test.name;
}

class FindAgainTest : public ShellTest, public testing::WithParamInterface<FindAgainCase> {};

TEST_P(FindAgainTest, AnOpenWindowComesToTheFrontUnchanged) {
    command(GetParam().command);
    platform::Window* window = state.*GetParam().window;
    const DataBox* box =
        GetParam().command == gdata ? state.sdata_box.get() : state.fdata_box.get();
    if (box != nullptr) {
        platform::inject::type_text(box->edit, "7");
    }
    const std::string edited = box != nullptr ? platform::control_text(box->edit) : "";
    platform::Region* mark = platform::create_rect_region({0, 0, 5, 5});
    platform::Brush* red = platform::create_solid_brush(platform::rgb(255, 0, 0));
    platform::Device* device = window->get_device();
    device->fill_region(*mark, *red);
    window->release_device(device);
    platform::delete_object(mark);
    platform::delete_object(red);
    const platform::Image before = platform::snapshot(*window);
    command(screen);
    platform::inject::process_events();
    ASSERT_NE(platform::inject::keyboard_window(), window);
    const auto windows = platform::live_windows().size();

    command(GetParam().command);
    platform::inject::process_events();
    EXPECT_EQ(platform::inject::keyboard_window(), window);
    EXPECT_EQ(state.*GetParam().window, window);
    EXPECT_EQ(platform::live_windows().size(), windows) << "no second window";
    EXPECT_EQ(platform::snapshot(*window).pixels, before.pixels) << "not drawn again";
    if (box != nullptr) {
        EXPECT_EQ(GetParam().command == gdata ? state.sdata_box.get() : state.fdata_box.get(), box);
        EXPECT_EQ(platform::control_text(box->edit), edited);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, FindAgainTest,
                         testing::Values(FindAgainCase{"fdata", fdata_command,
                                                       &AppState::fdata_window},
                                         FindAgainCase{"gdata", gdata, &AppState::sdata_window},
                                         FindAgainCase{"help", help, &AppState::help_window}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(ShellTest, AboutNamesTheProgramAndItsVersion) {
    command(about);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "About");
    EXPECT_EQ(boxes.shown()[0].owner, main_window);
    EXPECT_EQ(boxes.shown()[0].text.rfind("toven " TOVEN_VERSION "\n\n", 0), 0u)
        << boxes.shown()[0].text;
    EXPECT_NE(boxes.shown()[0].text.find("z = f(x,y)"), std::string::npos);
}

TEST_F(ShellTest, UnknownCommandsAndMessagesGetDefaultProcessing) {
    EXPECT_EQ(
        main_window_procedure(main_window, platform::WM_COMMAND, platform::make_wparam(77, 0), 0),
        0);
    EXPECT_EQ(platform::live_windows().size(), 1u);
    EXPECT_EQ(child_window_procedure(main_window, platform::WM_LBUTTONDOWN, 0, 0), 0);
}

TEST_F(ShellTest, ExitWritesBackOpenBoxesReleasesEverythingAndQuits) {
    command(fdata_command);
    command(screen);
    command(help);
    platform::inject::click(state.plot_window, {20, 20});
    platform::inject::double_click_line(state.fdata_box->list, 0);
    platform::inject::press_key(state.fdata_box->edit, platform::inject::Key::select_all);
    platform::inject::type_text(state.fdata_box->edit, "a = 4");
    command(exit);
    EXPECT_EQ(fdata[1].value(), "4");
    EXPECT_TRUE(platform::live_windows().empty());
    EXPECT_EQ(platform::take_posted_quit(), 0);
}

TEST_F(ShellTest, ClosingTheMainWindowReleasesAPlotterMadeByPrint) {
    record_prints();
    boxes.queue_answer(MessageBoxAnswer::no);
    command(print);
    ASSERT_NE(state.plotter, nullptr);
    platform::inject::close(main_window);
    EXPECT_EQ(state.plotter, nullptr);
    EXPECT_EQ(platform::take_posted_quit(), 0);
}

}  // namespace
}  // namespace toven::test_support
