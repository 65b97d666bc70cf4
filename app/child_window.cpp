// The procedure of every child window: data windows, plot windows and the help window, told
// apart by the shell's window pointers.
#include "app/child_window.h"

#include <array>

#include "app/help_window.h"
#include "app/message_table.h"
#include "app/parse_error_box.h"
#include "app/shell.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

using platform::Window;

// Every data box sees every control notification; each acts only on its own controls.
std::intptr_t on_command(Window*, std::uintptr_t wparam, std::intptr_t lparam) {
    const unsigned code = platform::high_word(wparam);
    if (fdata_window != nullptr && fdata_box != nullptr) {
        fdata_box->handle_command(lparam, code);
    }
    if (sdata_window != nullptr && sdata_box != nullptr) {
        sdata_box->handle_command(lparam, code);
    }
    return 0;
}

std::intptr_t on_mouse_move(Window* window, std::uintptr_t, std::intptr_t lparam) {
    mouse_x = static_cast<int>(platform::low_word(static_cast<std::uintptr_t>(lparam)));
    mouse_y = static_cast<int>(platform::high_word(static_cast<std::uintptr_t>(lparam)));
    if (window == plot_window && plotter != nullptr) {
        plot(plot_readout, screen_output);
    }
    return 0;
}

std::intptr_t on_left_button_down(Window* window, std::uintptr_t wparam, std::intptr_t lparam) {
    if (window == plot_window && window != nullptr) {
        if (plotter != nullptr) {
            plot(plot_page, screen_output);
        }
        return 0;
    }
    if (window == help_window && window != nullptr) {
        draw_help(help_window);
        return 0;
    }
    return platform::def_window_procedure(window, platform::WM_LBUTTONDOWN, wparam, lparam);
}

std::intptr_t on_size(Window*, std::uintptr_t, std::intptr_t) {
    readout_ready = false;
    return 0;
}

// Tearing down writes the box's lines back into its table.
void close_data_box(Window*& window, std::unique_ptr<DataBox>& box) {
    if (box != nullptr && box->built == 1) {
        box->tear_down();
    }
    box.reset();
    window = nullptr;
}

std::intptr_t on_destroy(Window* window, std::uintptr_t, std::intptr_t) {
    if (window == fdata_window) {
        close_data_box(fdata_window, fdata_box);
    } else if (window == sdata_window) {
        close_data_box(sdata_window, sdata_box);
    } else if (window == plot_window) {
        release_plotter();
        plot_window = nullptr;
    } else if (window == help_window) {
        help_closed = 1;
        help_window = nullptr;
    }
    // An earlier plot window may still be where parse errors are reported.
    if (surface_function != nullptr) {
        const auto* box = surface_function->parse_error_sink.target<ParseErrorBox>();
        if (box != nullptr && box->owner == window) {
            surface_function->parse_error_sink = nullptr;
        }
    }
    return 0;
}

constexpr std::array child_window_messages{
    MessageEntry{platform::WM_COMMAND, on_command},
    MessageEntry{platform::WM_MOUSEMOVE, on_mouse_move},
    MessageEntry{platform::WM_LBUTTONDOWN, on_left_button_down},
    MessageEntry{platform::WM_SIZE, on_size},
    MessageEntry{platform::WM_DESTROY, on_destroy},
};

}  // namespace

std::intptr_t child_window_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                     std::intptr_t lparam) {
    return dispatch_message(child_window_messages, window, message, wparam, lparam);
}

}  // namespace toven
