// Sliders through real Qt events: what each move of the user tells the parent, the keyboard
// reaching them with Tab, their range and position, and the names screen readers read.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/testing/event_injection.h"
#include "platform/testing/live_input.h"
#include "platform/window_system.h"

namespace toven {
namespace {

using namespace platform;

struct Scroll {
    std::intptr_t control;
    std::uintptr_t wparam;
    int position_read;  // what the procedure reads while it handles the message
};
std::vector<Scroll> scrolls;
std::vector<unsigned> other_messages;

std::intptr_t slider_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                               std::intptr_t lparam) {
    if (message == WM_HSCROLL) {
        scrolls.push_back({lparam, wparam, slider_position(reinterpret_cast<Control*>(lparam))});
    } else if (message != WM_SIZE && message != WM_DESTROY) {
        other_messages.push_back(message);
    }
    return def_window_procedure(window, message, wparam, lparam);
}

class SliderTest : public testing::Test {
  protected:
    void SetUp() override {
        register_class({"Sliders", slider_procedure, ""});
        build();
    }
    void TearDown() override { destroy_all(); }
    void destroy_all() {
        for (Window* live : live_windows()) {
            destroy_window(live);
        }
        inject::process_events();
    }
    // A window of two sliders, the first of which has the keyboard.
    void build() {
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
    Window* window = nullptr;
    Control* first = nullptr;
    Control* second = nullptr;
};

TEST_F(SliderTest, EachMoveOfTheUserTellsTheParent) {
    using inject::NavigationKey;
    struct Expected {
        int slider;  // 0 the first, 1 the second
        unsigned how;
        int position;
    };
    struct Case {
        const char* name;
        std::function<void(Window*, Control*)> act;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {"the first slider has the keyboard",
         [](Window* w, Control*) { inject::press_key(w, NavigationKey::right); },
         {{0, TB_LINEDOWN, 51}}},
        {"Tab brings it to the next",
         [](Window* w, Control*) {
             inject::press_key(w, NavigationKey::tab);
             inject::press_key(w, NavigationKey::left);
         },
         {{1, TB_LINEUP, -1}}},
        {"Shift+Tab brings it back",
         [](Window* w, Control*) {
             inject::press_key(w, NavigationKey::tab);
             inject::press_key(w, NavigationKey::tab, true);
             inject::press_key(w, NavigationKey::left);
         },
         {{0, TB_LINEUP, 49}}},
        {"the ends",
         [](Window* w, Control*) {
             inject::press_key(w, NavigationKey::home);
             inject::press_key(w, NavigationKey::end);
         },
         {{0, TB_TOP, 0}, {0, TB_BOTTOM, 100}}},
        {"a held arrow's steps that waited",
         [](Window* w, Control*) {
             inject::queue_held_key(w, NavigationKey::right, 5);
             inject::process_events();
         },
         {{0, TB_LINEDOWN, 55}}},
        {"a drag of the thumb",
         [](Window*, Control* s) { inject::drag_slider(s, 80); },
         {{0, TB_THUMBTRACK, 80}, {0, TB_ENDTRACK, 80}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        destroy_all();
        build();
        c.act(window, first);
        ASSERT_EQ(scrolls.size(), c.expected.size());
        for (std::size_t i = 0; i < scrolls.size(); ++i) {
            const Expected& e = c.expected[i];
            EXPECT_EQ(scrolls[i].control, control_handle(e.slider == 0 ? first : second));
            EXPECT_EQ(scrolls[i].wparam, make_wparam(static_cast<int>(e.how), e.position));
            EXPECT_EQ(scrolls[i].position_read, e.position);
        }
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
                          Case{"beyond the right end", 0, 10, 50, {0, 10}, 10},
                          Case{"beyond the left end", -89, 89, -200, {-89, 89}, -89}}) {
        SCOPED_TRACE(c.name);
        set_slider_range(first, c.from, c.to);
        set_slider_position(first, c.position);
        EXPECT_EQ(slider_range(first), c.range);
        EXPECT_EQ(slider_position(first), c.kept);
    }
    set_slider_position(first, 80);
    set_slider_range(first, 0, 20);
    EXPECT_EQ(slider_position(first), 20) << "a narrower range takes the position along";
    EXPECT_TRUE(scrolls.empty());
}

TEST_F(SliderTest, ScreenReadersReadEachControlsName) {
    Control* edit = create_control(ControlKind::edit, window, "x = 1", {10, 90, 250, 110});
    set_accessible_name(edit, "graph data line");
    set_accessible_name(second, "tilt, degrees");
    EXPECT_EQ(inject::screen_reader_name(first), "a") << "a slider's creation text";
    EXPECT_EQ(inject::screen_reader_name(second), "tilt, degrees");
    EXPECT_EQ(inject::screen_reader_name(edit), "graph data line");
}

}  // namespace
}  // namespace toven
