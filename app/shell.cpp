#include "app/shell.h"

#include <optional>

#include "app/child_window.h"
#include "app/main_window.h"
#include "app/menu_command.h"
#include "app/parse_error_box.h"
#include "app/user_tables.h"
#include "platform/busy_cursor.h"
#include "platform/message_box.h"
#include "surface/plot_driver.h"

namespace toven {

platform::Window* fdata_window = nullptr;
platform::Window* sdata_window = nullptr;
platform::Window* plot_window = nullptr;
platform::Window* help_window = nullptr;
std::unique_ptr<DataBox> fdata_box;
std::unique_ptr<DataBox> sdata_box;
std::unique_ptr<SurfacePlotter> plotter;
std::unique_ptr<SurfaceFunction> surface_function;
int help_closed = 1;
int mouse_x = 0;
int mouse_y = 0;

namespace {

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

void plot(PlotRequest readout, OutputDevice printer) {
    // A page takes a while, refused or not; a readout is over before the pointer could change.
    std::optional<platform::BusyCursor> busy;
    if (readout == plot_page) {
        busy.emplace(plotter->window);
    }
    PlotContext context{*plotter, *surface_function, fdata, sdata, mouse_x, mouse_y};
    context.parse_error_sink = ParseErrorBox{plotter->window};
    const auto refusal = draw_plot(context, readout, printer);
    if (refusal) {
        platform::message_box(
            plotter->window, refusal->message,
            printer == printer_output ? print_refusal_caption : plot_refusal_caption,
            platform::MessageBoxButtons::ok);
    }
}

void release_plotter() {
    if (plotter != nullptr) {
        plotter->end_output();
    }
    readout_ready = false;
    plotter.reset();
    surface_function.reset();
}

platform::Window* create_child_window(const char* title, platform::Window* owner, int width,
                                      int height) {
    return platform::create_window("SubWnd", title, owner,
                                   {child_window_x, child_window_y, width, height}, true);
}

platform::Window* start_shell() {
    platform::register_menu_resource("TOVEN", toven_menu());
    platform::register_class({"toven", main_window_procedure, "toven"});
    platform::Window* main_window = platform::create_window("toven", "toven", nullptr, {}, false);
    platform::show_window(main_window);
    platform::register_class({"SubWnd", child_window_procedure, "SubWnd"});
    return main_window;
}

int run_shell() {
    start_shell();
    return platform::run_message_loop();
}

}  // namespace toven
