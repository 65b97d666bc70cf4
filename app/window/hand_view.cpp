#include "app/window/hand_view.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "app/window/shell_state.h"
#include "expr/c_number.h"
#include "expr/item_table.h"

namespace toven {

namespace {

// A frame that keeps up with the hand is drawn within this many milliseconds.
constexpr double frame_budget_ms = 16;
// The full page follows this long after the hand stops: well within 150 ms.
constexpr int settle_ms = 100;
constexpr std::uintptr_t settle_timer = 1;

const char* item_text(const DataTable& table, const char* name) {
    const int record = record_number(name);
    return record < table.size() ? record_value(table[record]) : "";
}

double item_value(const DataTable& table, const char* name) {
    return c_atof(item_text(table, name));
}

// The samples per interval a moving frame can afford, from how long the last full page took:
// fewer samples along the same curves, still hidden exactly.
int moving_samples(const AppState& state) {
    const int k = c_atoi(item_text(state.sdata, "k"));
    if (state.hand.full_frame_ms <= frame_budget_ms || k <= 1) {
        return 0;
    }
    const double share = frame_budget_ms / state.hand.full_frame_ms;
    return std::max(1, static_cast<int>(k * share));
}

// Writes `text` into the item `name` of `table` as if typed and taken with "u".
void set_item_text(AppState& state, DataTable& table, const char* name, const std::string& text) {
    DataBox* box = nullptr;
    if (&table == &state.sdata) {
        box = state.sdata_box.get();
    } else if (&table == &state.fdata) {
        box = state.fdata_box.get();
    }
    if (box != nullptr) {
        box->commit();
    }
    const int record = record_number(name);
    if (record < table.size()) {
        table[record] = make_record(table[record].name, text);
    }
    if (box != nullptr) {
        box->show_table();
    }
}

void draw_page(AppState& state, int samples_while_moving) {
    const auto start = std::chrono::steady_clock::now();
    plot(state, plot_page, screen_output, samples_while_moving);
    if (samples_while_moving == 0 && state.readout_ready) {
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        state.hand.full_frame_ms = took.count();
        state.hand.from_tilt.clear();
        state.hand.from_turn.clear();
    }
}

// The view before the hand's first move since the last full page, or since the view was set
// otherwise (data opened, a line typed).
void keep_view_before_move(AppState& state) {
    AppState::HandMotion& hand = state.hand;
    const char* tilt = item_text(state.sdata, "tilt");
    const char* turn = item_text(state.sdata, "turn");
    if (hand.from_tilt.empty() || hand.written_tilt != tilt || hand.written_turn != turn) {
        hand.from_tilt = tilt;
        hand.from_turn = turn;
    }
}

// What the hand wrote, to tell its own moves from others.
void keep_view_written(AppState& state) {
    state.hand.written_tilt = item_text(state.sdata, "tilt");
    state.hand.written_turn = item_text(state.sdata, "turn");
}

// A view the hand moved to that cannot be drawn (a turn that takes too many samples) has been
// refused in a box; the view it moved from comes back, so that the hand can go on from there.
// A drag ends, or each move of it would ask again.
void go_back_if_refused(AppState& state) {
    AppState::HandMotion& hand = state.hand;
    if (state.readout_ready || hand.from_tilt.empty() ||
        (hand.from_tilt == item_text(state.sdata, "tilt") &&
         hand.from_turn == item_text(state.sdata, "turn"))) {
        return;
    }
    hand.dragging = false;
    platform::kill_timer(state.plot_window, settle_timer);
    set_item_text(state, state.sdata, "tilt", hand.from_tilt);
    set_item_text(state, state.sdata, "turn", hand.from_turn);
    draw_page(state, 0);
}

// A frame while the hand moves; the full page follows once it stops.
void draw_moving_frame(AppState& state) {
    const int samples = moving_samples(state);
    draw_page(state, samples);
    if (samples > 0 && state.readout_ready) {
        platform::set_timer(state.plot_window, settle_timer, settle_ms);
    }
}

void move_view_to(AppState& state, const char* item, double degrees) {
    keep_view_before_move(state);
    set_item_by_hand(state, state.sdata, item, degrees);
    keep_view_written(state);
    draw_moving_frame(state);
    go_back_if_refused(state);
}

bool shows_plot(const AppState& state, const platform::Window* window) {
    return window != nullptr && window == state.plot_window && state.plotter != nullptr &&
           state.readout_ready;
}

void on_right_button_down(AppState& state, std::intptr_t lparam) {
    state.hand.dragging = true;
    state.hand.start_x = static_cast<std::int16_t>(platform::low_word(lparam));
    state.hand.start_y = static_cast<std::int16_t>(platform::high_word(lparam));
    state.hand.start_tilt = tilted_by_hand(item_value(state.sdata, "tilt"), 0);
    state.hand.start_turn = turned_by_hand(item_value(state.sdata, "turn"), 0);
}

// Up and down tilt, left and right turn; one page shows both.
void on_drag(AppState& state, std::intptr_t lparam) {
    const int x = static_cast<std::int16_t>(platform::low_word(lparam));
    const int y = static_cast<std::int16_t>(platform::high_word(lparam));
    const double tilt = tilted_by_hand(state.hand.start_tilt, drag_degrees(state.hand.start_y, y));
    const double turn = turned_by_hand(state.hand.start_turn, drag_degrees(state.hand.start_x, x));
    // Compared as written: a value of more digits than the hand writes is no move.
    const bool tilted = hand_value_text(tilt) != item_text(state.sdata, "tilt");
    if (hand_value_text(turn) != item_text(state.sdata, "turn")) {
        keep_view_before_move(state);
        if (tilted) {
            set_item_by_hand(state, state.sdata, "tilt", tilt);
            keep_view_written(state);
        }
        move_view_to(state, "turn", turn);
    } else if (tilted) {
        move_view_to(state, "tilt", tilt);
    }
}

bool on_key(AppState& state, std::uintptr_t wparam, std::intptr_t lparam) {
    const bool tilting = wparam == platform::VK_UP || wparam == platform::VK_DOWN;
    const bool turning = wparam == platform::VK_LEFT || wparam == platform::VK_RIGHT;
    if (!tilting && !turning) {
        return false;
    }
    const int repeats = std::max(1U, platform::low_word(lparam));
    const double step = platform::is_key_down(platform::VK_SHIFT) ? shifted_view_step : 1;
    const double sign = wparam == platform::VK_UP || wparam == platform::VK_LEFT ? 1 : -1;
    const double degrees = sign * step * repeats;
    if (tilting) {
        move_view_to(state, "tilt", tilted_by_hand(item_value(state.sdata, "tilt"), degrees));
    } else {
        move_view_to(state, "turn", turned_by_hand(item_value(state.sdata, "turn"), degrees));
    }
    return true;
}

}  // namespace

double tilted_by_hand(double tilt, double degrees) {
    return std::clamp(tilt + degrees, -hand_tilt_limit, hand_tilt_limit);
}

double turned_by_hand(double turn, double degrees) {
    const double turned = std::fmod(turn + degrees, 360.0);
    return turned < 0 ? turned + 360 : turned;
}

int drag_degrees(int start, int position) {
    return (start - position) / drag_pixels_per_degree;
}

std::string hand_value_text(double value, double resolution) {
    constexpr int least_digits = 6;
    constexpr int most_digits = 17;  // enough for any double
    int digits = least_digits;
    if (resolution > 0 && std::isfinite(value)) {
        const double needed = std::ceil(std::log10(std::abs(value) / resolution)) + 1;
        digits =
            needed > least_digits ? std::min(static_cast<int>(needed), most_digits) : least_digits;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

void set_item_by_hand(AppState& state, DataTable& table, const char* name, double value,
                      double resolution) {
    set_item_text(state, table, name, hand_value_text(value, resolution));
}

void draw_full_page(AppState& state) {
    draw_page(state, 0);
}

// Opening the sliders window resizes a child window, which stops the readout until the next
// page; a slider still draws the open plot window's page.
void redraw_by_hand(AppState& state) {
    if (state.plot_window != nullptr && state.plotter != nullptr &&
        state.plotter->window == state.plot_window) {
        draw_moving_frame(state);
    }
}

bool handle_hand_message(AppState& state, platform::Window* window, unsigned message,
                         std::uintptr_t wparam, std::intptr_t lparam) {
    if (message == platform::WM_RBUTTONUP) {
        state.hand.dragging = false;
        return window == state.plot_window;
    }
    if (!shows_plot(state, window)) {
        return false;
    }
    switch (message) {
        case platform::WM_RBUTTONDOWN:
            on_right_button_down(state, lparam);
            return true;
        case platform::WM_MOUSEMOVE:
            if (state.hand.dragging && (wparam & platform::MK_RBUTTON) != 0) {
                on_drag(state, lparam);
            }
            return false;
        case platform::WM_KEYDOWN:
            return on_key(state, wparam, lparam);
        case platform::WM_TIMER:
            if (wparam == settle_timer) {
                draw_full_page(state);
                go_back_if_refused(state);
            }
            return true;
        default:
            return false;
    }
}

}  // namespace toven
