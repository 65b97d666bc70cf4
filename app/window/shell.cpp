#include "app/window/shell.h"

#include "app/window/child_window.h"
#include "app/window/main_window.h"
#include "app/window/menu_command.h"
#include "app/window/shell_state.h"
#include "platform/message_box.h"

namespace toven {

namespace {

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
                        command("Save &As...", MenuCommand::save_data_as),
                        command("&Sliders...", MenuCommand::sliders)}),
        popup("&Plot",
              {command("&Screen", MenuCommand::screen), command("&Print", MenuCommand::print),
               command("Sa&ve...", MenuCommand::save)}),
        command("&Help", MenuCommand::help),
        command("&About", MenuCommand::about),
    };
}

}  // namespace

platform::Window* start_shell(AppState& state) {
    set_shell_state(&state);
    platform::register_menu_resource("TOVEN", toven_menu());
    platform::register_class({"toven", main_window_procedure, "toven"});
    platform::Window* main_window = platform::create_window("toven", "toven", nullptr, {}, false);
    platform::show_window(main_window);
    platform::register_class({"SubWnd", child_window_procedure, "SubWnd"});
    return main_window;
}

int run_shell(AppState& state) {
    start_shell(state);
    const int status = platform::run_message_loop();
    set_shell_state(nullptr);
    return status;
}

void show_start_refusal(const std::string& message) {
    platform::message_box(nullptr, message, start_refusal_caption, platform::MessageBoxButtons::ok);
}

}  // namespace toven
