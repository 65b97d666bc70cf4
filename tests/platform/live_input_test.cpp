// The input that moves a view by hand, through real Qt events: right-button drags, keys and
// the keys held with them, bursts of moves that waited behind a long answer, and timers.
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

struct Received {
    unsigned message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
    bool shift_held;
};
std::vector<Received> received;

std::intptr_t recording_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                  std::intptr_t lparam) {
    if (message != WM_SIZE && message != WM_DESTROY) {
        received.push_back({message, wparam, lparam, is_key_down(VK_SHIFT)});
    }
    return def_window_procedure(window, message, wparam, lparam);
}

class LiveInputTest : public testing::Test {
  protected:
    void SetUp() override {
        register_class({"Hand", recording_procedure, ""});
        window = create_window("Hand", "plot", nullptr, {30, 50, 200, 200}, true);
        inject::process_events();
        received.clear();
    }
    void TearDown() override {
        for (Window* live : live_windows()) {
            destroy_window(live);
        }
        inject::process_events();
    }
    Window* window = nullptr;
};

struct Expected {
    unsigned message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
    bool shift_held = false;
};

void expect_received(const std::vector<Expected>& expected) {
    ASSERT_EQ(received.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(received[i].message, expected[i].message);
        EXPECT_EQ(received[i].wparam, expected[i].wparam);
        EXPECT_EQ(received[i].lparam, expected[i].lparam);
        EXPECT_EQ(received[i].shift_held, expected[i].shift_held);
    }
}

TEST_F(LiveInputTest, EachEventBecomesOneMessage) {
    struct Case {
        const char* name;
        std::function<void(Window*)> act;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {"right drag",
         [](Window* w) {
             inject::press_right(w, {10, 20});
             inject::drag_right(w, {30, 40});
             inject::release_right(w, {35, 45});
         },
         {{WM_RBUTTONDOWN, MK_RBUTTON, make_lparam(10, 20)},
          {WM_MOUSEMOVE, MK_RBUTTON, make_lparam(30, 40)},
          {WM_RBUTTONUP, 0, make_lparam(35, 45)}}},
        {"right button let go outside",
         [](Window* w) {
             inject::press_right(w, {10, 20});
             inject::release_right(w, {-5, 300});
         },
         {{WM_RBUTTONDOWN, MK_RBUTTON, make_lparam(10, 20)},
          {WM_RBUTTONUP, 0, make_lparam(-5, 300)}}},
        {"left drag",
         [](Window* w) {
             inject::drag_mouse(w, {3, 4});
         },
         {{WM_MOUSEMOVE, MK_LBUTTON, make_lparam(3, 4)}}},
        {"arrow keys",
         [](Window* w) {
             inject::press_key(w, inject::NavigationKey::left);
             inject::press_key(w, inject::NavigationKey::down);
         },
         {{WM_KEYDOWN, VK_LEFT, 1}, {WM_KEYDOWN, VK_DOWN, 1}}},
        {"shift held, then let go",
         [](Window* w) {
             inject::press_key(w, inject::NavigationKey::up, true);
             inject::press_key(w, inject::NavigationKey::right);
         },
         {{WM_KEYDOWN, VK_UP, 1, true}, {WM_KEYDOWN, VK_RIGHT, 1, false}}},
        {"keys the window is not told of",
         [](Window* w) { inject::press_key(w, inject::NavigationKey::tab); },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        received.clear();
        c.act(window);
        expect_received(c.expected);
    }
}

// The lparam of a key held down and repeated `count` times.
std::intptr_t repeated(int count) {
    return count | (std::intptr_t{1} << 30);
}

TEST_F(LiveInputTest, InputThatWaitedArrivesAsTheLastOne) {
    struct Case {
        const char* name;
        std::function<void(Window*)> queue;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {"a burst",
         [](Window* w) {
             inject::queue_moves(w, {{1, 1}, {2, 2}, {3, 3}});
         },
         {{WM_MOUSEMOVE, 0, make_lparam(3, 3)}}},
        {"a press between two bursts keeps its place",
         [](Window* w) {
             inject::queue_moves(w, {{1, 1}, {2, 2}});
             inject::queue_right_press(w, {5, 5});
             inject::queue_moves(w, {{6, 6}, {7, 7}});
         },
         {{WM_MOUSEMOVE, 0, make_lparam(2, 2)},
          {WM_RBUTTONDOWN, MK_RBUTTON, make_lparam(5, 5)},
          {WM_MOUSEMOVE, 0, make_lparam(7, 7)}}},
        {"a held key's repeats add up, key by key",
         [](Window* w) {
             inject::queue_held_key(w, inject::NavigationKey::right, 2);
             inject::queue_held_key(w, inject::NavigationKey::left, 3, true);
             inject::queue_moves(w, {{3, 3}});
         },
         {{WM_KEYDOWN, VK_RIGHT, repeated(2)},
          {WM_KEYDOWN, VK_LEFT, repeated(3), true},
          {WM_MOUSEMOVE, 0, make_lparam(3, 3)}}},
        {"the window destroyed before they arrive",
         [](Window* w) {
             inject::queue_moves(w, {{1, 1}, {2, 2}});
             destroy_window(w);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window = create_window("Hand", "plot", nullptr, {30, 50, 200, 200}, true);
        inject::process_events();
        received.clear();
        c.queue(window);
        inject::process_events();
        expect_received(c.expected);
    }
}

std::vector<std::uintptr_t> timers_fired() {
    std::vector<std::uintptr_t> ids;
    for (const Received& r : received) {
        if (r.message == WM_TIMER) {
            ids.push_back(r.wparam);
        }
    }
    return ids;
}

TEST_F(LiveInputTest, TimersFireOnceAfterTheLastSetting) {
    struct Case {
        const char* name;
        std::function<void(Window*)> act;
        std::vector<std::uintptr_t> fired;
    };
    const std::vector<Case> cases = {
        {"once", [](Window* w) { set_timer(w, 7, 10); }, {7}},
        {"two ids",
         [](Window* w) {
             set_timer(w, 1, 10);
             set_timer(w, 2, 20);
         },
         {1, 2}},
        {"killed",
         [](Window* w) {
             set_timer(w, 7, 10);
             kill_timer(w, 7);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window = create_window("Hand", "plot", nullptr, {30, 50, 200, 200}, true);
        received.clear();
        c.act(window);
        inject::process_events_for(300);
        EXPECT_EQ(timers_fired(), c.fired);
    }
}

// A busy machine may stretch a wait past the timer's time, and then nothing can be told.
TEST_F(LiveInputTest, SettingATimerAgainPutsItOff) {
    constexpr int delay = 400;
    set_timer(window, 7, delay);
    if (inject::process_events_for(delay / 4) >= delay) {
        GTEST_SKIP() << "the machine was too busy to tell";
    }
    set_timer(window, 7, delay);
    if (inject::process_events_for(delay * 7 / 8) >= delay) {
        GTEST_SKIP() << "the machine was too busy to tell";
    }
    EXPECT_TRUE(timers_fired().empty()) << "the first setting's time has passed";
    inject::process_events_for(delay);
    EXPECT_EQ(timers_fired(), (std::vector<std::uintptr_t>{7}));
}

}  // namespace
}  // namespace toven
