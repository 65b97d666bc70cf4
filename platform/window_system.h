// Window services: window classes and screen windows fed through window procedures, the
// messages they receive, menus built from resources, the list box, edit, button and slider
// controls, timers and the message loop. The platform owns every window and control: a pointer
// stays valid until its destroy call, and a destroyed window gets no more messages.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device.h"
#include "platform/drawing_objects.h"
#include "platform/geometry.h"
#include "platform/window.h"

namespace toven::platform {

// Message numbers and notification codes, with the values the old window system gave them.
inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_COMMAND = 0x0111;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_HSCROLL = 0x0114;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;

// The wparam of a mouse message: the buttons and keys held as it was made. A button message
// counts the button just pressed and leaves out the one just released.
inline constexpr std::uintptr_t MK_LBUTTON = 0x0001;
inline constexpr std::uintptr_t MK_RBUTTON = 0x0002;
inline constexpr std::uintptr_t MK_SHIFT = 0x0004;
inline constexpr std::uintptr_t MK_CONTROL = 0x0008;

// Virtual-key codes: the wparam of WM_KEYDOWN, and what is_key_down asks about.
inline constexpr unsigned VK_SHIFT = 0x10;
inline constexpr unsigned VK_CONTROL = 0x11;
inline constexpr unsigned VK_PRIOR = 0x21;
inline constexpr unsigned VK_NEXT = 0x22;
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;

inline constexpr unsigned LBN_DBLCLK = 2;
inline constexpr unsigned EN_UPDATE = 0x0400;
inline constexpr unsigned BN_CLICKED = 0;

// A message's two parameters carry two unsigned 16-bit halves: x and y of a mouse position,
// width and height of a client area, a command number and a notification code.
constexpr unsigned low_word(std::uintmax_t value) {
    return static_cast<unsigned>(value & 0xFFFF);
}
constexpr unsigned high_word(std::uintmax_t value) {
    return static_cast<unsigned>((value >> 16) & 0xFFFF);
}
constexpr std::uintptr_t make_wparam(int low, int high) {
    return static_cast<std::uintptr_t>(low & 0xFFFF) | static_cast<std::uintptr_t>(high & 0xFFFF)
                                                           << 16;
}
constexpr std::intptr_t make_lparam(int low, int high) {
    return static_cast<std::intptr_t>(make_wparam(low, high));
}

// Mouse messages: lparam = make_lparam(x, y) in client pixels, wparam the MK_ flags. Moves come
// only over the client area, and a burst of moves that waited in the queue behind a long
// answer arrives as its last one alone. A right button let go outside the window is still
// reported, its position there in 16-bit two's complement.
//
// WM_KEYDOWN goes to the window that has the keyboard: one whose client area holds no controls
// takes it when it is shown or clicked. wparam = the virtual-key code (only the keys above are
// reported); lparam = the repeat count in its low word, with bit 30 set when holding the key
// repeats it. The repeats that waited behind a long answer come as one message with their count.

using WindowProcedure = std::intptr_t (*)(Window* window, unsigned message, std::uintptr_t wparam,
                                          std::intptr_t lparam);

// Default processing: WM_CLOSE destroys the window; every other message is ignored, with 0.
std::intptr_t def_window_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                   std::intptr_t lparam);

// Window classes. Registering a name again replaces the class.
struct WindowClass {
    std::string name;
    WindowProcedure procedure = nullptr;
    std::string menu_name;  // a menu resource; a name that no resource has gives no menu bar
};
void register_class(const WindowClass& window_class);

// Menu resources: a menu bar's items, each a command, a popup of items, or a separator.
// `text` marks its mnemonic with "&".
struct MenuItem {
    std::string text;
    int command = 0;
    std::vector<MenuItem> popup;
    bool separator = false;
};
void register_menu_resource(std::string_view name, std::vector<MenuItem> items);

// Screen position and size; `use_default` leaves them to the window system.
inline constexpr int use_default = INT_MIN;
struct WindowPlacement {
    int x = use_default;
    int y = use_default;
    int width = use_default;
    int height = use_default;
};

// A top-level window of a registered class, with the class's menu bar, owned by `owner` (may
// be null): owned windows are destroyed with their owner. The procedure gets a first WM_SIZE
// before the call returns. Null when the class is unknown or the session has no widgets.
Window* create_window(std::string_view class_name, std::string_view title, Window* owner,
                      const WindowPlacement& placement, bool visible);
void show_window(Window* window);
// Puts a screen window in front of the others, restored if it was minimised, and gives it the
// keyboard. Nothing else about it changes.
void bring_to_front(Window* window);
// Destroys the owned windows first, then sends WM_DESTROY to the window and takes it off the
// screen. Ignores null and windows that are not screen windows.
void destroy_window(Window* window);
// Calls the window's procedure at once; 0 for a destroyed window.
std::intptr_t send_message(Window* window, unsigned message, std::uintptr_t wparam,
                           std::intptr_t lparam);

std::string window_title(const Window* window);
// The window's frame on the screen, decorations included; the size asked for at creation is
// the size inside the decorations (menu bar and client area).
Rect window_rect(const Window* window);
bool is_visible(const Window* window);
Window* window_owner(const Window* window);
// The screen windows not yet destroyed, oldest first.
std::vector<Window*> live_windows();

// The message loop: runs until post_quit_message, and returns its exit code.
int run_message_loop();
void post_quit_message(int exit_code);
// The exit code of a quit posted and not yet taken by a message loop (tests read it here).
std::optional<int> take_posted_quit();

// Whether VK_SHIFT or VK_CONTROL was held when the input message being handled was made (not
// at this instant, which may be later): the question a WM_KEYDOWN handler asks.
bool is_key_down(unsigned virtual_key);

// Timers: WM_TIMER with wparam = id reaches the window's procedure once, `milliseconds` after
// the last set_timer for that id, on the message loop's thread. Setting it again before it
// fires puts it off, so a timer set at every move fires once the moves stop. kill_timer
// cancels it; a destroyed window's timers never fire. Ignored for a window that is not a live
// screen window.
void set_timer(Window* window, std::uintptr_t id, int milliseconds);
void kill_timer(Window* window, std::uintptr_t id);

// Controls inside a window's client area. They tell their parent's procedure what the user did
// with WM_COMMAND: wparam = make_wparam(0, notification code), lparam = control_handle.
// Every call below takes a live control of the kind it names (destroy_control and
// control_handle also take null); any other control is a programmer error, which stops the
// program (platform/programmer_error.h).
// A control is an opaque handle here; the backend defines it (the Qt one holds its widgets).
class Control;
// A slider says it moved with WM_HSCROLL instead (see below).
enum class ControlKind { list_box, edit, push_button, slider };
// Null when `parent` is not a live screen window.
Control* create_control(ControlKind kind, Window* parent, std::string_view text, const Rect& rect);
void destroy_control(Control* control);
std::intptr_t control_handle(const Control* control);
Rect control_rect(const Control* control);

// List box: lines in the order inserted, by position. An index out of range does nothing and
// reads -1 or an empty line.
int list_insert(Control* list, int index, std::string_view text);  // -1 appends
void list_delete(Control* list, int index);
int list_count(const Control* list);
void list_select(Control* list, int index);
int list_selection(const Control* list);
std::string list_line(const Control* list, int index);

// The text of an edit or a button. Setting an edit's text is a change (EN_UPDATE) like typing.
void set_control_text(Control* control, std::string_view text);
std::string control_text(const Control* control);
// The longest text an edit accepts, typed or set.
void set_text_limit(Control* edit, int characters);
// WM_SETFONT: the control copies the font's description; null gives back its default font.
void set_control_font(Control* control, const Font* font);

// The name a screen reader reads for the control; a slider takes its creation text as its name.
void set_accessible_name(Control* control, std::string_view name);

// Slider: a horizontal trackbar over the whole numbers of a range, moved by the mouse and, once
// Tab brings the keyboard to it, by the arrow, Home, End and page keys. Each move the user makes
// sends WM_HSCROLL: wparam = make_wparam(how it moved, position), lparam = control_handle;
// slider_position reads a position that 16 bits do not hold. Moves that waited behind a long
// answer come as the last one. Setting the range or the position sends nothing.
inline constexpr unsigned TB_LINEUP = 0;      // one step left
inline constexpr unsigned TB_LINEDOWN = 1;    // one step right
inline constexpr unsigned TB_PAGEUP = 2;      // a page left
inline constexpr unsigned TB_PAGEDOWN = 3;    // a page right
inline constexpr unsigned TB_THUMBTRACK = 5;  // dragged (or turned by the wheel)
inline constexpr unsigned TB_TOP = 6;         // to the left end
inline constexpr unsigned TB_BOTTOM = 7;      // to the right end
inline constexpr unsigned TB_ENDTRACK = 8;    // the thumb let go after a drag
struct SliderRange {
    int from = 0;
    int to = 0;
    bool operator==(const SliderRange&) const = default;
};
// The ends may come in either order. The position is kept inside the range; a page is a fifth
// of it.
void set_slider_range(Control* slider, int from, int to);
SliderRange slider_range(const Control* slider);
void set_slider_position(Control* slider, int position);
int slider_position(const Control* slider);

// The width of a vertical scroll bar, in pixels.
int vertical_scroll_bar_width();

}  // namespace toven::platform
