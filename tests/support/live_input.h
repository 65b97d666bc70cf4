// For tests: the input that moves a view by hand (right-button drags, bursts of moves, keys at
// the keyboard's window, sliders), delivered as real window-system events, as the rest of
// event_injection.h delivers clicks and typing.
#pragma once

#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/window.h"
#include "platform/window_system.h"

namespace toven::platform::inject {

// The right button in a window's client area, and moves with it held. A move is delivered
// before the call returns, as a person's move is once the event loop runs.
void press_right(Window* window, Point at);
void drag_right(Window* window, Point to);
void release_right(Window* window, Point at);

// Input made while the program was busy: it waits in the event queue, in the order of the
// calls, for the event loop's next round.
void queue_moves(Window* window, const std::vector<Point>& positions);
void queue_right_press(Window* window, Point at);

// A key typed into the window with the Shift key held or not. It goes where the window's
// keyboard is, as a person's key does: to the control that has it, else the client area.
enum class NavigationKey { left, up, right, down, home, end, tab };
void press_key(Window* window, NavigationKey key, bool shift = false);
// A key held down while the program was busy: its repeats wait in the event queue.
void queue_held_key(Window* window, NavigationKey key, int repeats, bool shift = false);

// Drags a slider's thumb with the left button to the position `to`, on a slider at least as
// many pixels wide as its range has steps.
void drag_slider(Control* slider, int to);

// What a screen reader reads as the control's name.
std::string screen_reader_name(const Control* control);

// Runs the event loop for about this long, so that timers fire; gives the milliseconds that
// really passed, which a busy machine may stretch.
int process_events_for(int milliseconds);

}  // namespace toven::platform::inject
