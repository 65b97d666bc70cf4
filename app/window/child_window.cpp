// The procedure of every child window: data windows, plot windows and the help window, told
// apart by the window pointers of the shell's state.
#include "app/window/child_window.h"

#include <array>

#include "app/parse_error_box.h"
#include "app/window/hand_view.h"
#include "app/window/help_window.h"
#include "app/window/message_table.h"
#include "app/window/shell_state.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

using platform::Window;

// Every data box sees every control notification; each acts only on its own controls.
std::intptr_t on_command(Window*, std::uintptr_t wparam, std::intptr_t lparam) {
    AppState& state = shell_state();
    const unsigned code = platform::high_word(wparam);
    if (state.fdata_window != nullptr && state.fdata_box != nullptr) {
        state.fdata_box->handle_command(lparam, code);
    }
    if (state.sdata_window != nullptr && state.sdata_box != nullptr) {
        state.sdata_box->handle_command(lparam, code);
    }
    if (state.slider_box != nullptr) {
        state.slider_box->handle_command(lparam, code);
    }
    return 0;
}

std::intptr_t on_slider_moved(Window*, std::uintptr_t, std::intptr_t lparam) {
    AppState& state = shell_state();
    if (state.slider_box != nullptr) {
        state.slider_box->handle_scroll(lparam);
    }
    return 0;
}

std::intptr_t on_mouse_move(Window* window, std::uintptr_t wparam, std::intptr_t lparam) {
    AppState& state = shell_state();
    state.mouse_x = static_cast<int>(platform::low_word(static_cast<std::uintptr_t>(lparam)));
    state.mouse_y = static_cast<int>(platform::high_word(static_cast<std::uintptr_t>(lparam)));
    handle_hand_message(state, window, platform::WM_MOUSEMOVE, wparam, lparam);
    if (window == state.plot_window && state.plotter != nullptr) {
        plot(state, plot_readout, screen_output);
    }
    return 0;
}

std::intptr_t on_left_button_down(Window* window, std::uintptr_t wparam, std::intptr_t lparam) {
    AppState& state = shell_state();
    if (window == state.plot_window && window != nullptr) {
        if (state.plotter != nullptr) {
            draw_full_page(state);
        }
        return 0;
    }
    if (window == state.help_window && window != nullptr) {
        draw_help(state.help_window);
        return 0;
    }
    return platform::def_window_procedure(window, platform::WM_LBUTTONDOWN, wparam, lparam);
}

// The right button, the keys and the settling timer move the plot window's view by hand.
template <unsigned message>
std::intptr_t on_hand(Window* window, std::uintptr_t wparam, std::intptr_t lparam) {
    if (handle_hand_message(shell_state(), window, message, wparam, lparam)) {
        return 0;
    }
    return platform::def_window_procedure(window, message, wparam, lparam);
}

std::intptr_t on_size(Window* window, std::uintptr_t, std::intptr_t) {
    stop_readout(shell_state(), window);
    return 0;
}

// Tearing down writes the box's lines back into its table.
void close_data_box(Window*& window, std::unique_ptr<DataBox>& box) {
    if (box != nullptr && box->built) {
        box->tear_down();
    }
    box.reset();
    window = nullptr;
}

std::intptr_t on_destroy(Window* window, std::uintptr_t, std::intptr_t) {
    AppState& state = shell_state();
    if (window == state.fdata_window) {
        close_data_box(state.fdata_window, state.fdata_box);
    } else if (window == state.sdata_window) {
        close_data_box(state.sdata_window, state.sdata_box);
    } else if (window == state.plot_window) {
        release_plotter(state);
        state.plot_window = nullptr;
    } else if (window == state.slider_window) {
        state.slider_box.reset();
        state.slider_window = nullptr;
    } else if (window == state.help_window) {
        state.help_closed = true;
        state.help_window = nullptr;
    }
    // An earlier plot window may still be where parse errors are reported.
    if (state.surface_function != nullptr) {
        const auto* box = state.surface_function->parse_error_sink.target<ParseErrorBox>();
        if (box != nullptr && box->owner == window) {
            state.surface_function->parse_error_sink = nullptr;
        }
    }
    return 0;
}

constexpr std::array child_window_messages{
    MessageEntry{platform::WM_COMMAND, on_command},
    MessageEntry{platform::WM_HSCROLL, on_slider_moved},
    MessageEntry{platform::WM_MOUSEMOVE, on_mouse_move},
    MessageEntry{platform::WM_LBUTTONDOWN, on_left_button_down},
    MessageEntry{platform::WM_RBUTTONDOWN, on_hand<platform::WM_RBUTTONDOWN>},
    MessageEntry{platform::WM_RBUTTONUP, on_hand<platform::WM_RBUTTONUP>},
    MessageEntry{platform::WM_KEYDOWN, on_hand<platform::WM_KEYDOWN>},
    MessageEntry{platform::WM_TIMER, on_hand<platform::WM_TIMER>},
    MessageEntry{platform::WM_SIZE, on_size},
    MessageEntry{platform::WM_DESTROY, on_destroy},
};

}  // namespace

std::intptr_t child_window_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
    return dispatch_message(child_window_messages, window, message, wparam, lparam);
}

}  // namespace toven
