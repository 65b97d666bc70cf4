// The input that moves a view by hand, through real Qt events: right-button drags, keys and
// the keys held with them, input that waited behind a long answer, and timers.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "platform/window_system.h"
#include "tests/support/event_injection.h"
#include "tests/support/live_input.h"

namespace toven {
namespace {

using namespace platform;
using inject::NavigationKey;

struct Message {
    unsigned message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
    bool shift_held = false;  // what is_key_down(VK_SHIFT) says while it is handled
    bool operator==(const Message&) const = default;
};
void PrintTo(const Message& m, std::ostream* out) {
    *out << std::hex << "{0x" << m.message << ", 0x" << m.wparam << ", 0x" << m.lparam
         << (m.shift_held ? ", shift}" : "}");
}
std::vector<Message> received;

std::intptr_t recording_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                  std::intptr_t lparam) {
    if (message != WM_SIZE && message != WM_DESTROY) {
        received.push_back({message, wparam, lparam, is_key_down(VK_SHIFT)});
    }
    return def_window_procedure(window, message, wparam, lparam);
}

// The lparam of a key held down and repeated `count` times.
constexpr std::intptr_t repeated(int count) {
    return count | (std::intptr_t{1} << 30);
}

struct Case {
    const char* name;
    std::function<void(Window*)> act;
    std::vector<Message> expected;
};

// Each case in a new window that has the keyboard, then a round of the event loop.
void check(const std::vector<Case>& cases) {
    register_class({"Hand", recording_procedure, ""});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window* window = create_window("Hand", "plot", nullptr, {30, 50, 200, 200}, true);
        inject::process_events();
        received.clear();
        c.act(window);
        inject::process_events();
        EXPECT_EQ(received, c.expected);
        destroy_window(window);
        inject::process_events();  // the window is deleted from the event loop
    }
}

TEST(LiveInput, EachEventBecomesOneMessage) {
    check({
        {"right drag, let go outside",
         [](Window* w) {
             inject::press_right(w, {10, 20});
             inject::drag_right(w, {30, 40});
             inject::release_right(w, {-5, 300});
         },
         {{WM_RBUTTONDOWN, MK_RBUTTON, make_lparam(10, 20)},
          {WM_MOUSEMOVE, MK_RBUTTON, make_lparam(30, 40)},
          {WM_RBUTTONUP, 0, make_lparam(-5, 300)}}},
        {"left drag",
         [](Window* w) {
             inject::drag_mouse(w, {3, 4});
         },
         {{WM_MOUSEMOVE, MK_LBUTTON, make_lparam(3, 4)}}},
        {"arrows, Shift held and let go",
         [](Window* w) {
             inject::press_key(w, NavigationKey::up, true);
             inject::press_key(w, NavigationKey::left);
         },
         {{WM_KEYDOWN, VK_UP, 1, true}, {WM_KEYDOWN, VK_LEFT, 1}}},
    });
}

TEST(LiveInput, InputThatWaitedArrivesAsTheLastOne) {
    check({
        {"a burst of moves",
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
             inject::queue_held_key(w, NavigationKey::right, 2);
             inject::queue_held_key(w, NavigationKey::left, 3, true);
             inject::queue_moves(w, {{3, 3}});
         },
         {{WM_KEYDOWN, VK_RIGHT, repeated(2)},
          {WM_KEYDOWN, VK_LEFT, repeated(3), true},
          {WM_MOUSEMOVE, 0, make_lparam(3, 3)}}},
    });
}

// The waits are generous against the timers' times: a timer never fires early.
TEST(LiveInput, TimersFireOnceAfterTheLastSetting) {
    check({
        {"two ids",
         [](Window* w) {
             set_timer(w, 1, 10);
             set_timer(w, 2, 20);
             inject::process_events_for(300);
         },
         {{WM_TIMER, 1, 0}, {WM_TIMER, 2, 0}}},
        {"killed",
         [](Window* w) {
             set_timer(w, 7, 10);
             kill_timer(w, 7);
             inject::process_events_for(300);
         },
         {}},
    });
}

// A busy machine may stretch a wait past the timer's time, and then nothing can be told.
TEST(LiveInput, SettingATimerAgainPutsItOff) {
    constexpr int delay = 400;
    register_class({"Hand", recording_procedure, ""});
    Window* window = create_window("Hand", "plot", nullptr, {30, 50, 200, 200}, true);
    received.clear();
    set_timer(window, 7, delay);
    const int first_wait = inject::process_events_for(delay / 4);
    set_timer(window, 7, delay);
    if (first_wait + inject::process_events_for(delay * 7 / 8) >= delay * 2) {
        destroy_window(window);
        inject::process_events();
        GTEST_SKIP() << "the machine was too busy to tell";
    }
    EXPECT_TRUE(received.empty()) << "the first setting's time has passed";
    inject::process_events_for(delay);
    EXPECT_EQ(received, (std::vector<Message>{{WM_TIMER, 7, 0}}));
    destroy_window(window);
    inject::process_events();
}

}  // namespace
}  // namespace toven
