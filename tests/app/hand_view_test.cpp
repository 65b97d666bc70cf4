// The view moved by hand: the right-button drag and the keys tilt and turn the plot window's page,
// the sliders move a..e and tilt, and the data windows' lines follow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/hand_view.h"
#include "app/window/slider_box.h"
#include "expr/item_table.h"
#include "platform/picture_files.h"
#include "surface/page_layout.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/live_input.h"

namespace toven {
namespace {

using namespace test_support;
using platform::inject::NavigationKey;

TEST(HandViewTest, TiltIsHeldWhereTheBoxRulesHold) {
    struct Case {
        double tilt, degrees, expected;
    };
    for (const Case& c : std::vector<Case>{
             {15, 1, 16}, {88, 10, 89}, {-85, -10, -89}, {120, 0, 89}, {-200, 5, -89}}) {
        EXPECT_EQ(tilted_by_hand(c.tilt, c.degrees), c.expected) << c.tilt << " " << c.degrees;
    }
    // The turn goes round the circle both ways and never leaves 0..360.
    for (const Case& c :
         std::vector<Case>{{359, 2, 1}, {0, -1, 359}, {10, -370, 0}, {-30, 0, 330}}) {
        EXPECT_EQ(turned_by_hand(c.tilt, c.degrees), c.expected) << c.tilt << " " << c.degrees;
    }
    struct Drag {
        int start_y, y, degrees;
    };
    for (const Drag& d : std::vector<Drag>{
             {100, 96, 1}, {100, 97, 0}, {100, 104, -1}, {100, 60, 10}, {10, -30, 10}}) {
        EXPECT_EQ(drag_degrees(d.start_y, d.y), d.degrees) << d.start_y << " to " << d.y;
    }
}

TEST(HandViewTest, SliderPositionsAndValuesMatchBothWays) {
    EXPECT_EQ(slider_value(-1, 3, 0), -1);
    EXPECT_EQ(slider_value(-1, 3, slider_steps), 3);
    EXPECT_EQ(slider_position_of(-1, 3, 1), slider_steps / 2);
    EXPECT_EQ(slider_position_of(3, -1, 3), 0) << "ends in either order";
    EXPECT_EQ(slider_position_of(-1, 3, 50), slider_steps) << "a value outside is at an end";
    EXPECT_EQ(slider_position_of(2, 2, 2), 0) << "an empty range divides by nothing";
    const ValueRange a = starting_range("a", 2);
    EXPECT_EQ(a.from, 1);
    EXPECT_EQ(a.to, 3);
    const ValueRange zero = starting_range("c", 0);
    EXPECT_EQ(zero.to - zero.from, 2) << "a zero value still gets a range";
    EXPECT_EQ(starting_range("tilt", 15).to, hand_tilt_limit);
    EXPECT_EQ(hand_value_text(3.015, 0.01), "3.015") << "short where six digits tell steps apart";
    const double step = 1.0 / slider_steps;
    EXPECT_NE(hand_value_text(1e6 + step, step), hand_value_text(1e6, step))
        << "a narrow range far from 0 writes a new value at every step";
}

class HandShellTest : public ShellTest {
  protected:
    std::string value(const DataTable& table, const char* name) {
        return std::string(table[record_number(name)].value());
    }
    // A key reaches the window's procedure from the event loop.
    void press(platform::Window* window, NavigationKey key, bool shift = false) {
        platform::inject::press_key(window, key, shift);
        platform::inject::process_events();
    }
    // A plot window that shows the default page.
    void show_plot() {
        command(screen);
        platform::inject::click(state.plot_window, {20, 20});
        platform::inject::process_events();
        page_ = platform::snapshot(*state.plot_window).pixels;
    }
    bool page_changed() {
        const auto now = platform::snapshot(*state.plot_window).pixels;
        const bool changed = now != page_;
        page_ = now;
        return changed;
    }

  private:
    std::vector<platform::ColourRef> page_;
};

TEST_F(HandShellTest, KeysTiltTheShownPageAndTheGraphDataLineFollows) {
    command(gdata);
    show_plot();
    struct Case {
        NavigationKey key;
        bool shift;
        const char* tilt;
    };
    for (const Case& c : std::vector<Case>{{NavigationKey::up, false, "16"},
                                           {NavigationKey::down, true, "6"},
                                           {NavigationKey::down, false, "5"}}) {
        press(state.plot_window, c.key, c.shift);
        EXPECT_EQ(value(sdata, "tilt"), c.tilt);
        EXPECT_EQ(platform::list_line(state.sdata_box->list, record_number("tilt") - 1),
                  "tilt      = " + std::string(c.tilt));
        EXPECT_TRUE(page_changed()) << c.tilt;
    }
}

TEST_F(HandShellTest, ARightDragTiltsWithinLimitsAndAClickKeepsTheNewTilt) {
    show_plot();
    platform::inject::press_right(state.plot_window, {100, 190});
    platform::inject::drag_right(state.plot_window, {100, 150});
    EXPECT_EQ(value(sdata, "tilt"), "25") << "up 40 pixels is 10 degrees up";
    EXPECT_TRUE(page_changed());
    platform::inject::drag_right(state.plot_window, {100, 0});
    platform::inject::release_right(state.plot_window, {100, 0});
    platform::inject::press_right(state.plot_window, {100, 199});
    platform::inject::drag_right(state.plot_window, {100, 0});
    platform::inject::release_right(state.plot_window, {100, 0});
    EXPECT_EQ(value(sdata, "tilt"), "89") << "a second drag goes on from the first";
    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_EQ(value(sdata, "tilt"), "89") << "a click draws the tilted page again";
}

// One cell with half a million steps a side draws unturned; turned an eighth of the way, the
// steps along one side grow sixteenfold, over the page's columns. The hand that turns there is
// told so and keeps the last page, whether the moving frame or the full page is refused.
TEST_F(HandShellTest, AViewTooLargeToDrawIsRefusedAndTheHandGoesOnFromTheLastPage) {
    for (const auto& [name, value] : {std::pair{"m", 1}, {"n", 1}, {"k", 500'000}}) {
        set_item_by_hand(state, sdata, name, value);
    }
    show_plot();
    const struct {
        const char* label;
        double frame_ms;
        const char* turn;  // as data opened since the page was drawn set it
        int up;            // pixels the drag also goes up, tilting
    } cases[] = {{"full pages while moving", 0, "0", 0},
                 {"fewer samples while moving", 1000, "0", 0},
                 {"data opened since", 0, "5", 0},
                 {"tilted and turned at once", 0, "0", 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t shown = boxes.shown().size();
        state.hand.full_frame_ms = c.frame_ms;
        sdata[record_number("turn")] = make_record(sdata[record_number("turn")].name, c.turn);
        platform::inject::press_right(state.plot_window, {190, 100});
        platform::inject::drag_right(state.plot_window, {10, 100 - c.up});  // 45 degrees
        for (int waited = 0; waited < 10'000 && boxes.shown().size() == shown;) {
            waited += platform::inject::process_events_for(50);
        }
        platform::inject::release_right(state.plot_window, {10, 100 - c.up});
        EXPECT_EQ(boxes.shown().size(), shown + 1);
        EXPECT_EQ(value(sdata, "turn"), c.turn);
        EXPECT_EQ(value(sdata, "tilt"), "15");
        ASSERT_TRUE(state.readout_ready) << "the view moved from is back";
        press(state.plot_window, NavigationKey::left);
        EXPECT_EQ(value(sdata, "turn"), std::to_string(std::stoi(c.turn) + 1))
            << "the hand goes on";
        press(state.plot_window, NavigationKey::right);
    }
}

// A tilt of more digits than the hand writes is rounded once; a move within the same degree
// draws nothing again.
TEST_F(HandShellTest, ADragWithinADegreeDrawsNothing) {
    show_plot();
    sdata[record_number("tilt")] = make_record(sdata[record_number("tilt")].name, "15.1234567");
    platform::inject::press_right(state.plot_window, {100, 150});
    platform::inject::drag_right(state.plot_window, {100, 146});
    EXPECT_EQ(value(sdata, "tilt"), "16.1235");
    state.hand.full_frame_ms = -1;  // set again by every full page
    platform::inject::drag_right(state.plot_window, {101, 145});
    platform::inject::release_right(state.plot_window, {101, 145});
    EXPECT_EQ(state.hand.full_frame_ms, -1);
}

TEST_F(HandShellTest, NothingTiltsBeforeAPageIsShown) {
    command(screen);
    press(state.plot_window, NavigationKey::up);
    platform::inject::press_right(state.plot_window, {100, 190});
    platform::inject::drag_right(state.plot_window, {100, 100});
    platform::inject::release_right(state.plot_window, {100, 100});
    EXPECT_EQ(value(sdata, "tilt"), "15");
}

// The surface panel's pixels of the plot window's image: the data panel lists k, which a
// frame with fewer samples leaves as it is.
std::vector<platform::ColourRef> surface_pixels(const platform::Window* window) {
    const platform::Image image = platform::snapshot(*window);
    const PanelLayout panel = surface_panel(PageKind::screen, 0);
    std::vector<platform::ColourRef> pixels;
    for (int y = (100 - panel.top) * image.height / 100;
         y < (100 - panel.bottom) * image.height / 100; ++y) {
        for (int x = panel.left * image.width / 100; x < panel.right * image.width / 100; ++x) {
            pixels.push_back(image.at(x, y));
        }
    }
    return pixels;
}

TEST_F(HandShellTest, ASlowPageMovesWithFewerSamplesStillHiddenAndTheFullPageFollows) {
    command(screen);
    platform::inject::resize(state.plot_window, 800, 600);
    platform::inject::click(state.plot_window, {20, 20});
    // As if the full page took about nine frames' time: a moving frame takes 2 of k's 20
    // samples per interval.
    state.hand.full_frame_ms = 150;
    platform::inject::press_key(state.plot_window, NavigationKey::up);
    const auto moving = surface_pixels(state.plot_window);
    for (int waited = 0; waited < 10'000 && surface_pixels(state.plot_window) == moving;) {
        waited += platform::inject::process_events_for(50);
    }
    const auto settled = surface_pixels(state.plot_window);

    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_EQ(settled, surface_pixels(state.plot_window)) << "the timer draws the full page";
    set_item_by_hand(state, sdata, "k", 2);
    platform::inject::click(state.plot_window, {20, 20});
    EXPECT_EQ(moving, surface_pixels(state.plot_window)) << "the page of k = 2, exactly hidden";
    EXPECT_NE(moving, settled);
}

TEST_F(HandShellTest, SlidersMoveTheirItemsAndRedrawThePage) {
    command(fdata_command);
    show_plot();
    command(MenuCommand::sliders);
    platform::inject::process_events();
    ASSERT_NE(state.slider_box, nullptr);
    const SliderRow& b = state.slider_box->rows[1];
    EXPECT_EQ(platform::inject::screen_reader_name(b.slider), "b");
    EXPECT_EQ(platform::inject::screen_reader_name(b.to_edit), "b to");

    press(state.slider_window, NavigationKey::right);
    EXPECT_EQ(value(fdata, "a"), "3.015") << "the first slider has the keyboard";
    EXPECT_TRUE(page_changed());
    for (int i = 0; i < 3; ++i) {
        press(state.slider_window, NavigationKey::tab);
    }
    press(state.slider_window, NavigationKey::left);
    EXPECT_EQ(value(fdata, "b"), "2.985") << "Tab passes a's range to b's slider";

    platform::inject::drag_slider(b.slider, slider_steps);
    EXPECT_EQ(value(fdata, "b"), "4.5") << "3 and half of it";
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 1), "b = 4.5");
    EXPECT_TRUE(page_changed());

    platform::set_control_text(b.from_edit, "0");
    platform::set_control_text(b.to_edit, "x");
    EXPECT_EQ(b.range.to, 4.5) << "a range being typed is not taken";
    platform::set_control_text(b.to_edit, "9");
    EXPECT_EQ(platform::slider_position(b.slider), slider_steps / 2) << "the thumb stays on 4.5";
    platform::set_control_text(b.from_edit, "-1e308");
    platform::set_control_text(b.to_edit, "1e308");
    EXPECT_EQ(b.range.to, 9) << "a range too wide for a double is not taken";
    platform::set_control_text(b.from_edit, "0");
    platform::set_control_text(b.to_edit, "9");
    platform::Window* const sliders = state.slider_window;
    command(MenuCommand::sliders);
    EXPECT_EQ(state.slider_window, sliders) << "one sliders window";
    EXPECT_EQ(b.range.to, 9) << "its box is the same";
}

}  // namespace
}  // namespace toven
