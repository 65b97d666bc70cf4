#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "app/shell.h"
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

int main(int argc, char** argv) {
    // Past the file-size limit (ulimit -f) a write then fails with EFBIG, which every writer
    // reports with its cause and cleans up after, where the signal would end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc > 1 && toven::is_option(argv[1])) {
        return toven::run_command_line(argc, argv);
    }
    toven::AppState state;
    // Bad data is reported before anything needs a display.
    if (toven::apply_start_items(state, argc, argv) != 0) {
        return 1;
    }
    const std::string no_display = no_display_message();
    if (!toven::platform::Session::display_available()) {
        std::fputs(no_display.c_str(), stderr);
        return 1;
    }
    // The data items are the program's own; Qt sees only the program's name.
    int session_argc = 1;
    toven::platform::Session session(session_argc, argv, toven::platform::SessionKind::interactive,
                                     no_display);
    return toven::run_shell(state);
}
