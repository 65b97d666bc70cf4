#include <cstdio>

#include "app/command_line.h"
#include "app/shell.h"
#include "platform/application.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        return toven::run_command_line(argc, argv);
    }
    if (!toven::platform::Session::display_available()) {
        std::fputs(
            "toven: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY "
            "names one that answers).\n"
            "To draw the plot into a file instead: toven --render toven.png "
            "(toven --help tells more).\n",
            stderr);
        return 1;
    }
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::interactive);
    return toven::run_shell();
}
