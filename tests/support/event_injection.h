// For tests: what a person does with the mouse and the keyboard, delivered at once as real
// window-system events to screen windows, their menus and their controls, so that a test
// goes through the same translation into messages as a person does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "platform/window_system.h"

namespace toven::platform::inject {

// Mouse in a window's client area, at a pixel of its devices (client coordinates).
void click(Window* window, Point at);
// A click made `milliseconds` before it arrives, as one that waited in the queue behind a
// long drawing.
void click_made_earlier(Window* window, Point at, int milliseconds);
void move_mouse(Window* window, Point to);
// A move with the left button held, which the window system reports also outside the window.
void drag_mouse(Window* window, Point to);

// The frame: its close box, and a new size of the whole window.
void close(Window* window);
void resize(Window* window, int width, int height);

// Chooses the menu bar's item with this command number, as a click on it does; false when
// the window's menu has no such item.
bool choose_menu_command(Window* window, int command);
// The window's menu, one line per item in order: "text command" for a command, "text" for a
// popup followed by its items indented by two blanks, "-" for a separator.
std::vector<std::string> menu_outline(Window* window);

// Controls.
void click(Control* button);
void click_line(Control* list, int line);
void double_click_line(Control* list, int line);
void type_text(Control* edit, std::string_view text);
enum class Key { backspace, home, end, select_all, enter };
void press_key(Control* control, Key key);
// Drags a list's or an edit's right sizing border `by` pixels to the right (left if negative).
void drag_sizing_border(Control* control, int by);
// Whether the control shows its text in a fixed-pitch font.
bool control_font_is_fixed_pitch(const Control* control);

// The window that the window system keeps this one above and minimises it with (its
// transient parent), as a window manager sees it; null for a window of its own.
Window* window_manager_owner(const Window* window);

// The size of the image behind a window's client area, in pixels.
Extent backing_image_size(const Window* window);

// The window that has the keyboard, or null.
Window* keyboard_window();

// Whether the pointer shows the busy cursor over the window.
bool shows_busy_cursor(const Window* window);

// The client area as the screen shows it, painted anew, one entry per screen pixel.
Image shown_on_screen(const Window* window);

// A real message box (no seam) as it stands on the screen.
struct ScreenMessageBox {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;  // their texts, mnemonics included, left to right
    int width = 0;                     // the whole box, without a window manager's frame
};
// The next message box shown is read into `seen` once it is on the screen, then answered as
// a click on the answer's button does. `seen` must outlive the box.
void answer_next_message_box(MessageBoxAnswer answer, ScreenMessageBox& seen);

// Runs what is waiting in the event queue, deferred deletions included.
void process_events();

}  // namespace toven::platform::inject
