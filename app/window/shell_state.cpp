#include "app/window/shell_state.h"

#include <optional>

#include "app/files/grid_data.h"
#include "app/parse_error_box.h"
#include "platform/busy_cursor.h"
#include "platform/message_box.h"
#include "platform/programmer_error.h"

namespace toven {

namespace {

// The state of the running shell; the window procedures have no other way to it.
AppState* running_state = nullptr;

// Every child window opens at the same place on the screen.
constexpr int child_window_x = 30;
constexpr int child_window_y = 50;

constexpr const char* plot_refusal_caption = "Cannot plot";
constexpr const char* print_refusal_caption = "Cannot print";

}  // namespace

void set_shell_state(AppState* state) {
    running_state = state;
}

AppState& shell_state() {
    TOVEN_EXPECT(running_state != nullptr, "the shell is started before its windows work");
    return *running_state;
}

void plot(AppState& state, PlotRequest readout, OutputDevice printer, int samples_while_moving) {
    // A page takes a while, refused or not; a readout is over before the pointer could change.
    std::optional<platform::BusyCursor> busy;
    if (readout == plot_page) {
        busy.emplace(state.plotter->window);
    }
    PlotContext context{
        *state.plotter,         *state.surface_function, state.fdata,   state.sdata,
        state.graph_parameters, state.readout_ready,     state.mouse_x, state.mouse_y};
    context.parse_error_sink = ParseErrorBox{state.plotter->window};
    context.samples_while_moving = samples_while_moving;
    use_grid(context, state);
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

void stop_readout(AppState& state, const platform::Window* resized) {
    state.readout_ready = false;
    SurfacePlotter* plotter = state.plotter.get();
    if (plotter == nullptr) {
        return;
    }
    // A window's new size clears it, so what lay under the cross is no longer there.
    if (plotter->dc == nullptr || resized == plotter->window) {
        plotter->marker.forget();
    } else {
        plotter->marker.remove(*plotter->dc);
    }
}

platform::Window* create_child_window(const char* title, platform::Window* owner, int width,
                                      int height) {
    return platform::create_window("SubWnd", title, owner,
                                   {child_window_x, child_window_y, width, height}, true);
}

}  // namespace toven
