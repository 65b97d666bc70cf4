// The view moved by hand in the plot window: a right-button drag up and down, and the Up and
// Down keys, tilt it; a drag left and right, and the Left and Right keys, turn it. The whole
// page follows at once. The new tilt and turn go into the graph data as if typed and taken
// with "u", so a click, Print and Save use them.
#pragma once

#include <cstdint>
#include <string>

#include "app/window/app_state.h"

namespace toven {

// By hand the tilt stays where the frame box's rules hold.
inline constexpr double hand_tilt_limit = 89;
// A drag tilts by one degree for every this many pixels.
inline constexpr int drag_pixels_per_degree = 4;
// The arrow keys tilt and turn by a degree, by this many with Shift.
inline constexpr double shifted_view_step = 10;

// `tilt` moved by `degrees`, held within -hand_tilt_limit..hand_tilt_limit.
double tilted_by_hand(double tilt, double degrees);

// `turn` moved by `degrees`, through the whole circle: 0 up to 360.
double turned_by_hand(double turn, double degrees);

// The whole degrees a drag from `start` to `position` moves by, along one axis: up tilts up,
// left turns left.
int drag_degrees(int start, int position);

// A value as the hand writes it into a data line: six significant digits, as printf's %g, or
// as many more as tell it from a value `resolution` away (a slider's step over a narrow range
// far from 0).
std::string hand_value_text(double value, double resolution = 0);

// Writes `value` into the item `name` of `table` as if typed and taken with "u": an open data
// box on the table takes its own pending lines first, then shows the table anew.
void set_item_by_hand(AppState& state, DataTable& table, const char* name, double value,
                      double resolution = 0);

// Draws the plot window's whole page, as a click does, and keeps how long it took, so that
// the hand's first frame already knows whether a page keeps up.
void draw_full_page(AppState& state);

// Redraws the open plot window's page with the tables as they are now: the page a click
// draws.
void redraw_by_hand(AppState& state);

// The plot window's share of the hand's messages; false when the message is not for it.
bool handle_hand_message(AppState& state, platform::Window* window, unsigned message,
                         std::uintptr_t wparam, std::intptr_t lparam);

}  // namespace toven
