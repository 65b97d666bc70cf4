#include "app/shell.h"

#include <optional>

#include "app/child_window.h"
#include "app/main_window.h"
#include "app/menu_command.h"
#include "platform/busy_cursor.h"
#include "platform/message_box.h"
#include "platform/programmer_error.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

// The state of the running shell; the window procedures have no other way to it.
AppState* running_state = nullptr;

// Every child window opens at the same place on the screen.
constexpr int child_window_x = 30;
constexpr int child_window_y = 50;

constexpr const char* plot_refusal_caption = "Cannot plot";
constexpr const char* print_refusal_caption = "Cannot print";

platform::MenuItem command(const char* text, MenuCommand number) {
    return {text, command_number(number), {}, false};
}
platform::MenuItem popup(const char* text, std::vector<platform::MenuItem> items) {
    return {text, 0, std::move(items), false};
}
platform::MenuItem separator() {
    return {"", 0, {}, true};
}

// The menu resource "TOVEN"; the numbers are the commands of main_window_procedure.
std::vector<platform::MenuItem> toven_menu() {
    return {
        command("E&xit", MenuCommand::exit),
        popup("&Data", {command("&Fdata", MenuCommand::function_data), separator(),
                        command("&Gdata", MenuCommand::graph_data), separator(),
                        command("&Open...", MenuCommand::open_data),
                        command("Save &As...", MenuCommand::save_data_as)}),
        popup("&Plot",
              {command("&Screen", MenuCommand::screen), command("&Print", MenuCommand::print),
               command("Sa&ve...", MenuCommand::save)}),
        command("&Help", MenuCommand::help),
        command("&About", MenuCommand::about),
    };
}

}  // namespace

AppState& shell_state() {
    TOVEN_EXPECT(running_state != nullptr, "the shell is started before its windows work");
    return *running_state;
}

void plot(AppState& state, PlotRequest readout, OutputDevice printer) {
    // A page takes a while, refused or not; a readout is over before the pointer could change.
    std::optional<platform::BusyCursor> busy;
    if (readout == plot_page) {
        busy.emplace(state.plotter->window);
    }
    const PlotContext context{
        *state.plotter,         *state.surface_function, state.fdata,   state.sdata,
        state.graph_parameters, state.readout_ready,     state.mouse_x, state.mouse_y};
    const auto refusal = draw_plot(context, readout, printer);
    if (refusal) {
        platform::message_box(
            state.plotter->window, refusal->message,
            printer == printer_output ? print_refusal_caption : plot_refusal_caption,
            platform::MessageBoxButtons::ok);
    }
}

void release_plotter(AppState& state) {
    if (state.plotter != nullptr) {
        state.plotter->end_output();
    }
    state.readout_ready = false;
    state.plotter.reset();
    state.surface_function.reset();
}

platform::Window* create_child_window(const char* title, platform::Window* owner, int width,
                                      int height) {
    return platform::create_window("SubWnd", title, owner,
                                   {child_window_x, child_window_y, width, height}, true);
}

platform::Window* start_shell(AppState& state) {
    running_state = &state;
    platform::register_menu_resource("TOVEN", toven_menu());
    platform::register_class({"toven", main_window_procedure, "toven"});
    platform::Window* main_window = platform::create_window("toven", "toven", nullptr, {}, false);
    platform::show_window(main_window);
    platform::register_class({"SubWnd", child_window_procedure, "SubWnd"});
    platform::register_class({"SubWndM", child_window_procedure, "SubWndM"});
    return main_window;
}

int run_shell(AppState& state) {
    start_shell(state);
    const int status = platform::run_message_loop();
    running_state = nullptr;
    return status;
}

}  // namespace toven
