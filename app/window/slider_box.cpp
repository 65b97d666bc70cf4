#include "app/window/slider_box.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/number_text.h"
#include "app/window/app_state.h"
#include "app/window/hand_view.h"
#include "app/window/shell_state.h"
#include "expr/c_number.h"
#include "expr/item_table.h"

namespace toven {

namespace {

constexpr int row_height = 32;
constexpr int margin = 10;
constexpr int slider_width = 220;
constexpr int edit_width = 80;
constexpr int control_height = 24;

DataTable& table_of(AppState& state, const SliderRow& row) {
    return row.graph_data ? state.sdata : state.fdata;
}

double item_value(const DataTable& table, const char* name) {
    const int record = record_number(name);
    return record < table.size() ? c_atof(record_value(table[record])) : 0;
}

void place_thumb(SliderRow& row, double value) {
    platform::set_slider_position(row.slider,
                                  slider_position_of(row.range.from, row.range.to, value));
}

void build_row(SliderRow& row, platform::Window* window, int top, double value) {
    row.range = starting_range(row.item, value);
    const int bottom = top + control_height;
    int left = margin;
    row.slider = platform::create_control(platform::ControlKind::slider, window, row.item,
                                          {left, top, left + slider_width, bottom});
    platform::set_slider_range(row.slider, 0, slider_steps);
    left += slider_width + margin;
    row.from_edit = platform::create_control(platform::ControlKind::edit, window,
                                             hand_value_text(row.range.from),
                                             {left, top, left + edit_width, bottom});
    left += edit_width + margin;
    row.to_edit =
        platform::create_control(platform::ControlKind::edit, window, hand_value_text(row.range.to),
                                 {left, top, left + edit_width, bottom});
    platform::set_accessible_name(row.from_edit, std::string(row.item) + " from");
    platform::set_accessible_name(row.to_edit, std::string(row.item) + " to");
    place_thumb(row, value);
}

}  // namespace

double slider_value(double from, double to, int position) {
    return from + (to - from) * position / slider_steps;
}

int slider_position_of(double from, double to, double value) {
    if (!(to != from) || !std::isfinite(value)) {
        return 0;
    }
    const double position = std::round((value - from) / (to - from) * slider_steps);
    return static_cast<int>(std::clamp(position, 0.0, static_cast<double>(slider_steps)));
}

ValueRange starting_range(const char* item, double value) {
    if (std::string_view(item) == "tilt") {
        return {-hand_tilt_limit, hand_tilt_limit};
    }
    if (!std::isfinite(value)) {
        value = 0;
    }
    const double half = std::max(1.0, std::abs(value) / 2);
    return {value - half, value + half};
}

SliderBox::SliderBox(AppState& app_state, platform::Window* slider_window)
    : state(app_state), window(slider_window) {
    constexpr std::array<const char*, 6> items{"a", "b", "c", "d", "e", "tilt"};
    int top = margin;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SliderRow& row = rows[i];
        row.item = items[i];
        row.graph_data = i + 1 == rows.size();
        build_row(row, window, top, item_value(table_of(state, row), row.item));
        top += row_height;
    }
}

SliderBox::~SliderBox() {
    for (SliderRow& row : rows) {
        platform::destroy_control(row.slider);
        platform::destroy_control(row.from_edit);
        platform::destroy_control(row.to_edit);
    }
}

void SliderBox::handle_scroll(std::intptr_t control) {
    for (SliderRow& row : rows) {
        if (control != 0 && control == platform::control_handle(row.slider)) {
            const double value =
                slider_value(row.range.from, row.range.to, platform::slider_position(row.slider));
            set_item_by_hand(state, table_of(state, row), row.item, value,
                             std::abs(row.range.to - row.range.from) / slider_steps);
            redraw_by_hand(state);
            return;
        }
    }
}

// A range takes effect once both ends are numbers that differ by a finite width, which every
// value between them needs; while it is being typed the slider keeps its last one. The thumb
// stays on the item's value.
void SliderBox::handle_command(std::intptr_t control, unsigned code) {
    if (code != platform::EN_UPDATE || control == 0) {
        return;
    }
    for (SliderRow& row : rows) {
        if (control != platform::control_handle(row.from_edit) &&
            control != platform::control_handle(row.to_edit)) {
            continue;
        }
        ValueRange typed;
        if (read_decimal(platform::control_text(row.from_edit), typed.from) != NumberFault::none ||
            read_decimal(platform::control_text(row.to_edit), typed.to) != NumberFault::none ||
            typed.from == typed.to || !std::isfinite(typed.to - typed.from)) {
            return;
        }
        row.range = typed;
        place_thumb(row, item_value(table_of(state, row), row.item));
        return;
    }
}

void open_sliders(platform::Window* main_window) {
    AppState& state = shell_state();
    if (state.slider_box != nullptr) {
        platform::bring_to_front(state.slider_window);
        return;
    }
    const int width = 3 * margin + slider_width + 2 * edit_width + margin;
    const int height = 2 * margin + row_height * 6;
    state.slider_window = create_child_window("sliders", main_window, width, height);
    state.slider_box = std::make_unique<SliderBox>(state, state.slider_window);
}

}  // namespace toven
