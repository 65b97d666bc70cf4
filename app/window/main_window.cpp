// The main window's procedure: the menu commands, and the end of the program when the main
// window is destroyed.
#include "app/window/main_window.h"

#include <array>

#include "app/version.h"
#include "app/window/data_file_commands.h"
#include "app/window/help_window.h"
#include "app/window/menu_command.h"
#include "app/window/message_table.h"
#include "app/window/save_command.h"
#include "app/window/shell_state.h"
#include "app/window/slider_box.h"
#include "platform/message_box.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

using platform::Window;

constexpr const char* about_text =
    "toven " TOVEN_VERSION
    "\n\n"
    "Plots surfaces z = f(x,y) with hidden lines removed, reads f(x,y) off a mini grid "
    "under the mouse, and prints the page on the default printer.";

void exit_program(Window* main_window) {
    platform::send_message(main_window, platform::WM_CLOSE, 0, 0);
}

// An open data window is only brought to the front: its box and its lines stay as they are.
void open_data_window(Window* main_window, const char* title, DataTable& table, Window*& window,
                      std::unique_ptr<DataBox>& box) {
    if (box != nullptr) {
        platform::bring_to_front(window);
        return;
    }
    window = create_child_window(title, main_window, 200, 200);
    box = std::make_unique<DataBox>(window);
    box->build(table);
}

void open_fdata(Window* main_window) {
    AppState& state = shell_state();
    open_data_window(main_window, "fdata", state.fdata, state.fdata_window, state.fdata_box);
}

void open_sdata(Window* main_window) {
    AppState& state = shell_state();
    open_data_window(main_window, "sdata", state.sdata, state.sdata_window, state.sdata_box);
}

void make_surface_function(AppState& state) {
    if (state.surface_function == nullptr) {
        state.surface_function = std::make_unique<SurfaceFunction>(state.fdata);
    }
}

// Nothing is drawn yet: a click in the new window starts the plot. An earlier plot window
// stays open, but no longer plots.
void open_plot_window(Window* main_window) {
    AppState& state = shell_state();
    state.plot_window = create_child_window("plot", main_window, 200, 200);
    if (state.plotter != nullptr) {
        state.plotter->window = state.plot_window;
    } else {
        state.plotter = std::make_unique<SurfacePlotter>(state.plot_window);
    }
    make_surface_function(state);
}

// The main window owns the printer questions, and shows the plot if printing is declined.
// A Plotter that was drawing in the plot window goes back to it, so the next click there
// plots there.
void print_plot(Window* main_window) {
    AppState& state = shell_state();
    const bool was_on_plot_window = state.plotter != nullptr && state.plot_window != nullptr &&
                                    state.plotter->window == state.plot_window;
    if (state.plotter != nullptr) {
        state.plotter->window = main_window;
    } else {
        state.plotter = std::make_unique<SurfacePlotter>(main_window);
    }
    make_surface_function(state);
    plot(state, plot_page, printer_output);
    if (state.plotter != nullptr && was_on_plot_window && state.plot_window != nullptr) {
        state.plotter->window = state.plot_window;
    }
}

// An open help window is only brought to the front, not drawn again.
void open_help(Window* main_window) {
    AppState& state = shell_state();
    if (!state.help_closed) {
        platform::bring_to_front(state.help_window);
        return;
    }
    state.help_closed = false;
    state.help_window = create_child_window("help", main_window, 650, 430);
    draw_help(state.help_window);
}

void show_about(Window* main_window) {
    platform::message_box(main_window, about_text, "About", platform::MessageBoxButtons::ok);
}

struct CommandEntry {
    MenuCommand command;
    void (*run)(Window* main_window);
};

constexpr std::array menu_commands{
    CommandEntry{MenuCommand::exit, exit_program},
    CommandEntry{MenuCommand::function_data, open_fdata},
    CommandEntry{MenuCommand::graph_data, open_sdata},
    CommandEntry{MenuCommand::open_data, open_data},
    CommandEntry{MenuCommand::save_data_as, save_data_as},
    CommandEntry{MenuCommand::sliders, open_sliders},
    CommandEntry{MenuCommand::screen, open_plot_window},
    CommandEntry{MenuCommand::print, print_plot},
    CommandEntry{MenuCommand::save, save_plot},
    CommandEntry{MenuCommand::help, open_help},
    CommandEntry{MenuCommand::about, show_about},
};

std::intptr_t on_command(Window* window, std::uintptr_t wparam, std::intptr_t lparam) {
    const auto number = static_cast<int>(platform::low_word(wparam));
    for (const CommandEntry& command : menu_commands) {
        if (command_number(command.command) == number) {
            command.run(window);
            return 0;
        }
    }
    return platform::def_window_procedure(window, platform::WM_COMMAND, wparam, lparam);
}

// The owned windows are gone by now (their data boxes wrote back); what the Print command
// made on the main window goes with it.
std::intptr_t on_destroy(Window*, std::uintptr_t, std::intptr_t) {
    release_plotter(shell_state());
    platform::post_quit_message(0);
    return 0;
}

constexpr std::array main_window_messages{
    MessageEntry{platform::WM_COMMAND, on_command},
    MessageEntry{platform::WM_DESTROY, on_destroy},
};

}  // namespace

std::intptr_t main_window_procedure(Window* window, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam) {
    return dispatch_message(main_window_messages, window, message, wparam, lparam);
}

}  // namespace toven
