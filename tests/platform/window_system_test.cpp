// The window services the shell relies on, through real Qt events: messages and their
// parameters, ownership and destruction order, default processing, menus and controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/busy_cursor.h"
#include "platform/picture_files.h"
#include "platform/window_system.h"
#include "tests/support/event_injection.h"
#include "tests/support/pixel_counts.h"

namespace toven {
namespace {

using namespace platform;

struct Received {
    Window* window;
    unsigned message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
};
std::vector<Received> received;

std::intptr_t recording_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                  std::intptr_t lparam) {
    received.push_back({window, message, wparam, lparam});
    return def_window_procedure(window, message, wparam, lparam);
}

// Destroying from inside its own WM_CLOSE is what default processing does; this one refuses.
std::intptr_t stubborn_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                 std::intptr_t lparam) {
    received.push_back({window, message, wparam, lparam});
    return message == WM_CLOSE ? 0 : def_window_procedure(window, message, wparam, lparam);
}

std::vector<Received> of(unsigned message) {
    std::vector<Received> found;
    for (const Received& r : received) {
        if (r.message == message) {
            found.push_back(r);
        }
    }
    return found;
}

// Draws a blue square into the window's top-left corner.
void fill_corner(Window* window) {
    Region* corner = create_rect_region({0, 0, 50, 50});
    Brush* blue = create_solid_brush(rgb(0, 0, 160));
    Device* device = window->get_device();
    device->fill_region(*corner, *blue);
    window->release_device(device);
    delete_object(corner);
    delete_object(blue);
}

class WindowSystemTest : public testing::Test {
  protected:
    void SetUp() override {
        received.clear();
        register_class({"Recorder", recording_procedure, "RecorderMenu"});
        register_class({"Stubborn", stubborn_procedure, ""});
        register_menu_resource(
            "RECORDERMENU", {{"&Go", 7, {}, false},
                             {"&More",
                              0,
                              {{"&One", 8, {}, false}, {"", 0, {}, true}, {"&Two", 9, {}, false}},
                              false}});
    }
    void TearDown() override {
        for (Window* window : live_windows()) {
            destroy_window(window);
        }
        inject::process_events();
        take_posted_quit();
    }
    Window* make(const char* title, Window* owner = nullptr) {
        return create_window("Recorder", title, owner, {30, 50, 200, 200}, true);
    }
};

TEST_F(WindowSystemTest, CreationDeliversTheClientSizeOnce) {
    Window* window = make("w");
    inject::process_events();
    auto sizes = of(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    const Rect client = window->client_rect();
    EXPECT_EQ(low_word(static_cast<std::uintptr_t>(sizes[0].lparam)),
              static_cast<unsigned>(client.width()));
    EXPECT_EQ(high_word(static_cast<std::uintptr_t>(sizes[0].lparam)),
              static_cast<unsigned>(client.height()));
    EXPECT_EQ(window_title(window), "w");
}

TEST_F(WindowSystemTest, ChildWindowsOpenWhereAskedAndAreVisible) {
    Window* owner = make("owner");
    Window* child = create_window("Stubborn", "child", owner, {30, 50, 200, 200}, true);
    EXPECT_TRUE(is_visible(child));
    EXPECT_EQ(window_owner(child), owner);
    EXPECT_EQ(inject::window_manager_owner(child), owner) << "kept above it, minimised with it";
    EXPECT_EQ(inject::window_manager_owner(owner), nullptr);
    const Rect frame = window_rect(child);
    EXPECT_EQ(frame.left, 30);
    EXPECT_EQ(frame.top, 50);
    EXPECT_GE(frame.width(), 200) << "the size asked for, and the decorations around it";
    EXPECT_EQ(child->client_rect(), (Rect{0, 0, 200, 200})) << "a window without a menu bar";
}

TEST_F(WindowSystemTest, MouseMessagesCarryClientCoordinatesInTwoHalves) {
    Window* window = create_window("Stubborn", "w", nullptr, {30, 50, 200, 200}, true);
    inject::move_mouse(window, {12, 34});
    inject::click(window, {150, 7});
    auto moves = of(WM_MOUSEMOVE);
    auto clicks = of(WM_LBUTTONDOWN);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(moves[0].lparam, make_lparam(12, 34));
    EXPECT_EQ(clicks[0].lparam, make_lparam(150, 7));
    EXPECT_EQ(low_word(static_cast<std::uintptr_t>(make_lparam(-1, 2))), 0xFFFFu)
        << "a position left of the window arrives as an unsigned word";
}

TEST_F(WindowSystemTest, MovesOutsideTheClientAreaAreNoMovesOverTheWindow) {
    Window* window = create_window("Stubborn", "w", nullptr, {30, 50, 200, 200}, true);
    struct Move {
        const char* name;
        Point to;
        bool delivered;
    };
    for (const Move& move :
         {Move{"inside", {199, 199}, true}, Move{"left", {-1, 20}, false},
          Move{"above", {20, -3}, false}, Move{"right", {200, 20}, false},
          Move{"below", {20, 250}, false}, Move{"far_left", {-900, -900}, false}}) {
        SCOPED_TRACE(move.name);
        received.clear();
        inject::drag_mouse(window, move.to);
        EXPECT_EQ(of(WM_MOUSEMOVE).size(), move.delivered ? 1u : 0u);
    }
}

// The client area is not kept across a size change: what was drawn goes, and the picture
// behind the window shrinks with it as well as grows.
TEST_F(WindowSystemTest, ANewSizeClearsTheClientAreaAndSizesItsPicture) {
    Window* window = create_window("Stubborn", "w", nullptr, {30, 50, 200, 200}, true);
    struct Size {
        const char* name;
        int width;
        int height;
    };
    for (const Size& size : {Size{"larger", 2000, 1500}, Size{"smaller", 120, 90},
                             Size{"back", 200, 200}, Size{"no_height", 150, 0}}) {
        SCOPED_TRACE(size.name);
        fill_corner(window);
        inject::resize(window, size.width, size.height);
        const Rect client = window->client_rect();
        EXPECT_EQ(client, (Rect{0, 0, size.width, size.height}));
        ASSERT_FALSE(of(WM_SIZE).empty());
        EXPECT_EQ(of(WM_SIZE).back().lparam, make_lparam(size.width, size.height));
        EXPECT_EQ(inject::backing_image_size(window),
                  (Extent{std::max(size.width, 1), std::max(size.height, 1)}));
        const Image shown = snapshot(*window);
        EXPECT_EQ(test_support::count_not(shown, rgb(255, 255, 255)), 0)
            << "white until drawn again";
    }
}

// Before a window first shows, the window system may still settle its size (a window
// manager rounding it to its size steps): what was drawn by then stays.
TEST_F(WindowSystemTest, ASizeSettledBeforeTheWindowShowsKeepsThePicture) {
    Window* window = create_window("Stubborn", "w", nullptr, {30, 50, 200, 200}, false);
    fill_corner(window);
    inject::resize(window, 199, 199);
    EXPECT_EQ(snapshot(*window).at(10, 10), rgb(0, 0, 160));

    show_window(window);
    inject::resize(window, 200, 200);
    EXPECT_EQ(snapshot(*window).at(10, 10), rgb(255, 255, 255)) << "once shown, not kept";
}

TEST_F(WindowSystemTest, TheBusyCursorNestsAndComesOffAgain) {
    Window* window = make("busy");
    Window* other = make("other");
    {
        BusyCursor outer(window);
        EXPECT_TRUE(inject::shows_busy_cursor(window));
        EXPECT_FALSE(inject::shows_busy_cursor(other));
        { BusyCursor inner(window); }
        EXPECT_TRUE(inject::shows_busy_cursor(window)) << "until the outer guard ends";
    }
    EXPECT_FALSE(inject::shows_busy_cursor(window));

    auto offscreen = create_offscreen_window(10, 10);
    BusyCursor on_nothing(nullptr);
    BusyCursor on_an_image(offscreen.get());
    {
        BusyCursor on_a_window_that_goes(other);
        destroy_window(other);
        inject::process_events();
    }
    EXPECT_FALSE(inject::shows_busy_cursor(window));
}

TEST_F(WindowSystemTest, TheCloseBoxAsksTheProcedureAndDefaultProcessingDestroys) {
    Window* stubborn = create_window("Stubborn", "s", nullptr, {30, 50, 200, 200}, true);
    inject::close(stubborn);
    EXPECT_EQ(of(WM_CLOSE).size(), 1u);
    EXPECT_TRUE(of(WM_DESTROY).empty()) << "a procedure that keeps WM_CLOSE keeps its window";
    EXPECT_TRUE(is_visible(stubborn));

    Window* plain = make("p");
    inject::close(plain);
    ASSERT_EQ(of(WM_DESTROY).size(), 1u);
    EXPECT_EQ(of(WM_DESTROY)[0].window, plain);
    EXPECT_EQ(live_windows(), std::vector<Window*>{stubborn});
}

TEST_F(WindowSystemTest, OwnedWindowsAreDestroyedBeforeTheirOwner) {
    Window* owner = make("owner");
    Window* first = make("first", owner);
    Window* second = make("second", owner);
    received.clear();
    destroy_window(owner);
    auto destroyed = of(WM_DESTROY);
    ASSERT_EQ(destroyed.size(), 3u);
    EXPECT_EQ(destroyed[0].window, first);
    EXPECT_EQ(destroyed[1].window, second);
    EXPECT_EQ(destroyed[2].window, owner);
    EXPECT_TRUE(live_windows().empty());
    received.clear();
    EXPECT_EQ(send_message(owner, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(received.empty()) << "a destroyed window gets no more messages";
}

TEST_F(WindowSystemTest, MenuItemsSendTheirCommandNumbers) {
    Window* window = make("menu");
    EXPECT_EQ(inject::menu_outline(window),
              (std::vector<std::string>{"&Go 7", "&More", "  &One 8", "  -", "  &Two 9"}));
    ASSERT_TRUE(inject::choose_menu_command(window, 9));
    auto commands = of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(low_word(commands[0].wparam), 9u);
    EXPECT_EQ(high_word(commands[0].wparam), 0u);
    EXPECT_EQ(commands[0].lparam, 0);
    EXPECT_FALSE(inject::choose_menu_command(window, 99));
    EXPECT_LT(window->client_rect().height(), 200) << "the menu bar takes its part of the frame";
}

TEST_F(WindowSystemTest, QuitPostedOutsideALoopWaitsForTheLoop) {
    post_quit_message(3);
    EXPECT_EQ(run_message_loop(), 3);
    EXPECT_FALSE(take_posted_quit().has_value());
}

TEST_F(WindowSystemTest, ListBoxKeepsLinesByPosition) {
    Window* window = make("list");
    Control* list = create_control(ControlKind::list_box, window, "", {5, 5, 150, 150});
    EXPECT_EQ(list_insert(list, 0, "b"), 0);
    EXPECT_EQ(list_insert(list, 0, "c"), 0);
    EXPECT_EQ(list_insert(list, 2, "a"), 2);
    EXPECT_EQ(list_insert(list, 9, "x"), -1);
    ASSERT_EQ(list_count(list), 3);
    EXPECT_EQ(list_line(list, 0), "c") << "inserting by position does not sort";
    EXPECT_EQ(list_line(list, 2), "a");
    EXPECT_EQ(list_line(list, 3), "");
    list_delete(list, 1);
    EXPECT_EQ(list_count(list), 2);
    EXPECT_EQ(list_selection(list), -1);
    list_select(list, 1);
    EXPECT_EQ(list_selection(list), 1);
    inject::click_line(list, 0);
    EXPECT_EQ(list_selection(list), 0);
    EXPECT_TRUE(of(WM_COMMAND).empty()) << "a single click notifies nothing";
    inject::double_click_line(list, 1);
    auto commands = of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(high_word(commands[0].wparam), LBN_DBLCLK);
    EXPECT_EQ(commands[0].lparam, control_handle(list));
    EXPECT_EQ(list_selection(list), 1);
}

TEST_F(WindowSystemTest, EditNotifiesEveryChangeAndKeepsItsLimit) {
    Window* window = make("edit");
    Control* edit = create_control(ControlKind::edit, window, "", {5, 5, 150, 25});
    set_text_limit(edit, 5);
    inject::type_text(edit, "abc");
    EXPECT_EQ(of(WM_COMMAND).size(), 3u);
    EXPECT_EQ(high_word(of(WM_COMMAND)[0].wparam), EN_UPDATE);
    EXPECT_EQ(of(WM_COMMAND)[0].lparam, control_handle(edit));
    inject::type_text(edit, "defg");
    EXPECT_EQ(control_text(edit), "abcde");
    inject::press_key(edit, inject::Key::backspace);
    EXPECT_EQ(control_text(edit), "abcd");
    set_control_text(edit, "x = 1");
    EXPECT_EQ(control_text(edit), "x = 1");
    EXPECT_EQ(of(WM_COMMAND).size(), 7u) << "setting the text is a change too";
}

TEST_F(WindowSystemTest, TextKeepsBytesThatAreNotUtf8) {
    Window* window = make("bytes");
    Control* list = create_control(ControlKind::list_box, window, "", {5, 5, 150, 150});
    const std::string latin1 = "caf\xE9";
    const std::string utf8 = "caf\xC3\xA9";
    list_insert(list, -1, latin1);
    list_insert(list, -1, utf8);
    EXPECT_EQ(list_line(list, 0), latin1);
    EXPECT_EQ(list_line(list, 1), utf8);
    Control* edit = create_control(ControlKind::edit, window, "", {5, 155, 150, 175});
    set_control_text(edit, utf8);
    EXPECT_EQ(control_text(edit), utf8);
    inject::type_text(edit, "s");
    EXPECT_EQ(control_text(edit), "caf\xE9s") << "typed text is one byte a character";
}

TEST_F(WindowSystemTest, ButtonClickAndFixedFont) {
    Window* window = make("button");
    Control* button = create_control(ControlKind::push_button, window, "u", {5, 5, 25, 25});
    Control* edit = create_control(ControlKind::edit, window, "", {5, 30, 150, 50});
    inject::click(button);
    ASSERT_EQ(of(WM_COMMAND).size(), 1u);
    EXPECT_EQ(high_word(of(WM_COMMAND)[0].wparam), BN_CLICKED);
    EXPECT_EQ(of(WM_COMMAND)[0].lparam, control_handle(button));
    EXPECT_EQ(control_text(button), "u");

    Font* fixed = create_font(stock_fixed_font()->description);
    fixed->fixed_pitch = true;
    set_control_font(edit, fixed);
    delete_object(fixed);
    EXPECT_TRUE(inject::control_font_is_fixed_pitch(edit)) << "the control keeps its own copy";
    EXPECT_GT(vertical_scroll_bar_width(), 0);
}

TEST_F(WindowSystemTest, DrawingShowsInTheWindow) {
    Window* window = make("draw");
    Device* device = window->get_device();
    Brush* red = create_solid_brush(rgb(255, 0, 0));
    Region* region = create_rect_region({10, 10, 20, 20});
    device->fill_region(*region, *red);
    EXPECT_EQ(snapshot(*window).at(15, 15), rgb(255, 0, 0)) << "before the device is released";
    window->release_device(device);
    delete_object(region);
    delete_object(red);

    EXPECT_EQ(snapshot(*window).at(15, 15), rgb(255, 0, 0)) << "and after";
}

// A device may still be held when its window goes (a plot's output stays open); it draws
// nowhere then, and giving it back is safe.
TEST_F(WindowSystemTest, DeviceOutlivingItsWindowIsHarmless) {
    const ObjectCounts before = live_objects();
    Window* window = make("gone");
    Device* device = window->get_device();
    destroy_window(window);
    inject::process_events();
    device->move_to(0, 0);
    device->line_to(10, 10);
    window->release_device(device);
    inject::process_events();
    EXPECT_EQ(live_objects(), before);
}

}  // namespace
}  // namespace toven
