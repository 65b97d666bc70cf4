// The sliders window (Data > Sliders...): one row for each of a, b, c, d, e and tilt, each a
// slider over a range the user types into its two edits, "from" and "to". Moving a slider
// writes its item as if typed into the data window and taken with "u", and redraws the plot
// window's page at once.
#pragma once

#include <array>
#include <cstdint>

#include "platform/window_system.h"

namespace toven {

struct AppState;

// The whole numbers a slider moves over between its two ends.
inline constexpr int slider_steps = 200;

// The value at `position` of a slider from `from` to `to`, and the position nearest `value`.
double slider_value(double from, double to, int position);
int slider_position_of(double from, double to, double value);

// The range a slider starts with around an item's value: the value in the middle, half of
// its size (at least 1) either side; tilt runs over the whole range the hand may give it.
struct ValueRange {
    double from = 0;
    double to = 0;
};
ValueRange starting_range(const char* item, double value);

struct SliderRow {
    const char* item = "";
    bool graph_data = false;  // in the graph data, else in the function data
    platform::Control* slider = nullptr;
    platform::Control* from_edit = nullptr;
    platform::Control* to_edit = nullptr;
    ValueRange range;
};

struct SliderBox {
    // Makes the rows in `window` from the tables' values now.
    SliderBox(AppState& state, platform::Window* window);
    ~SliderBox();
    SliderBox(const SliderBox&) = delete;
    SliderBox& operator=(const SliderBox&) = delete;

    // A slider moved (WM_HSCROLL), or an edit of a range changed (WM_COMMAND).
    void handle_scroll(std::intptr_t control);
    void handle_command(std::intptr_t control, unsigned code);

    AppState& state;
    platform::Window* window;
    std::array<SliderRow, 6> rows;
};

// Data > Sliders...: opens the window, or brings the open one to the front.
void open_sliders(platform::Window* main_window);

}  // namespace toven
