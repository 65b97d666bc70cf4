// The window part of toven: the interactive program, loaded by the toven command when it is
// started without an option. It brings Qt's widgets; printing comes later, when the person
// prints.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/command/command_line.h"
#include "app/window/app_state.h"
#include "app/window/shell.h"
#include "platform/application.h"

namespace {

// Where the window cannot be shown: which display was tried, and what the user can do instead.
std::string no_display_message() {
    std::string tried;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            tried += std::string(tried.empty() ? "" : ", ") + name + "=" + value;
        }
    }
    if (tried.empty()) {
        tried = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    }
    return "toven: no display could be opened (" + tried +
           ").\n"
           "To draw the plot into a file instead: toven --render toven.png "
           "(toven --help tells more).\n";
}

}  // namespace

// argv holds the data items the program starts with.
extern "C" __attribute__((visibility("default"))) int toven_window_main(int argc, char** argv) {
    toven::AppState state;
    // Bad data is reported before anything needs a display, and shown where one opens; then
    // the program ends, as the command line does.
    const std::optional<std::string> refusal = toven::start_items_refusal(state, argc, argv);
    if (refusal) {
        std::fprintf(stderr, "toven: %s\n", refusal->c_str());
    }
    // Refused data were told already; a missing display then adds nothing the person needs.
    const std::string no_display = refusal ? std::string() : no_display_message();
    if (!toven::platform::Session::display_available()) {
        std::fputs(no_display.c_str(), stderr);
        return 1;
    }
    // The data items are the program's own; Qt sees only the program's name.
    int session_argc = 1;
    toven::platform::Session session(session_argc, argv, toven::platform::SessionKind::interactive,
                                     no_display);
    if (refusal) {
        if (session.watched()) {
            toven::show_start_refusal(*refusal);
        }
        return 1;
    }
    return toven::run_shell(state);
}
