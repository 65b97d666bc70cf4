// Sliders through real Qt events: what each move of the user tells the parent, the keyboard
// reaching them with Tab, their range and position, and the names screen readers read.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/support/event_injection.h"
#include "tests/support/live_input.h"
#include "platform/window_system.h"

namespace toven {
namespace {

using namespace platform;
using inject::NavigationKey;

struct Scroll {
    int slider;  // 0 the first, 1 the second
    unsigned how;
    int position;
    int position_read;  // what slider_position says while the message is handled
    bool operator==(const Scroll&) const = default;
};
std::vector<Scroll> scrolls;
Control* first = nullptr;
Control* second = nullptr;
std::vector<unsigned> other_messages;

std::intptr_t slider_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                               std::intptr_t lparam) {
    auto* slider = reinterpret_cast<Control*>(lparam);
    if (message == WM_HSCROLL) {
        scrolls.push_back({slider == first ? 0 : 1, low_word(wparam),
                           static_cast<std::int16_t>(high_word(wparam)), slider_position(slider)});
    } else if (message != WM_SIZE && message != WM_DESTROY) {
        other_messages.push_back(message);
    }
    return def_window_procedure(window, message, wparam, lparam);
}

// A window of two sliders, the first of which has the keyboard.
class SliderTest : public testing::Test {
  protected:
    void SetUp() override {
        register_class({"Sliders", slider_procedure, ""});
        window = create_window("Sliders", "sliders", nullptr, {30, 50, 300, 200}, true);
        inject::process_events();
        first = create_control(ControlKind::slider, window, "a", {10, 10, 250, 40});
        second = create_control(ControlKind::slider, window, "tilt", {10, 50, 250, 80});
        set_slider_range(first, 0, 100);
        set_slider_position(first, 50);
        set_slider_range(second, -89, 89);
        set_slider_position(second, 0);
        scrolls.clear();
        other_messages.clear();
    }
    void TearDown() override {
        destroy_window(window);
        inject::process_events();
    }
    Window* window = nullptr;
};

TEST_F(SliderTest, EachMoveOfTheUserTellsTheParent) {
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<Scroll> expected;
    };
    const std::vector<Case> cases = {
        {"an arrow",
         [&] { inject::press_key(window, NavigationKey::right); },
         {{0, TB_LINEDOWN, 51, 51}}},
        {"Tab brings the keyboard to the next",
         [&] {
             inject::press_key(window, NavigationKey::tab);
             inject::press_key(window, NavigationKey::left);
         },
         {{1, TB_LINEUP, -1, -1}}},
        {"the ends",
         [&] {
             inject::press_key(window, NavigationKey::home);
             inject::press_key(window, NavigationKey::end);
         },
         {{0, TB_TOP, 0, 0}, {0, TB_BOTTOM, 100, 100}}},
        {"a held arrow's steps that waited",
         [&] {
             inject::queue_held_key(window, NavigationKey::right, 5);
             inject::process_events();
         },
         {{0, TB_LINEDOWN, 55, 55}}},
        {"a drag of the thumb",
         [&] { inject::drag_slider(first, 80); },
         {{0, TB_THUMBTRACK, 80, 80}, {0, TB_ENDTRACK, 80, 80}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.act();
        EXPECT_EQ(scrolls, c.expected);
        EXPECT_TRUE(other_messages.empty()) << "keys at a control are not the window's";
    }
}

TEST_F(SliderTest, RangeAndPositionAreKeptInOrderAndTellNothing) {
    struct Case {
        const char* name;
        int from, to, position;
        SliderRange range;
        int kept;
    };
    for (const Case& c : {Case{"inside", 0, 100, 30, {0, 100}, 30},
                          Case{"ends given backwards", 100, -5, 30, {-5, 100}, 30},
                          Case{"beyond an end", -89, 89, -200, {-89, 89}, -89}}) {
        SCOPED_TRACE(c.name);
        set_slider_range(first, c.from, c.to);
        set_slider_position(first, c.position);
        EXPECT_EQ(slider_range(first), c.range);
        EXPECT_EQ(slider_position(first), c.kept);
    }
    EXPECT_TRUE(scrolls.empty());
}

TEST_F(SliderTest, ScreenReadersReadEachControlsName) {
    Control* edit = create_control(ControlKind::edit, window, "x = 1", {10, 90, 250, 110});
    set_accessible_name(edit, "graph data line");
    EXPECT_EQ(inject::screen_reader_name(first), "a") << "a slider's creation text";
    EXPECT_EQ(inject::screen_reader_name(edit), "graph data line");
}

}  // namespace
}  // namespace toven
