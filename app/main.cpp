// The toven command. It holds what the command line needs without the window system (--eval,
// --help, --version) and loads the part a run needs beside it: the picture part for --render,
// the window part for the interactive program. So a formula is evaluated without loading Qt.
#include <csignal>

#include "app/command/command_line.h"
#include "app/command/render_command.h"
#include "platform/program_module.h"

namespace toven {

// The command line's --render, handed to the picture part, which starts from a state of its
// own: nothing of `state` is set before --render reads its arguments. Linked ahead of the
// libraries, this takes the place of app/render_command.cpp, which only the picture part links.
int run_render_command(AppData&, int argc, char** argv) {
    return platform::run_program_module("picture", "toven_picture_main", argc, argv);
}

}  // namespace toven

int main(int argc, char** argv) {
    // Past the file-size limit (ulimit -f) a write then fails with EFBIG, which every writer
    // reports with its cause and cleans up after, where the signal would end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc > 1 && toven::is_option(argv[1])) {
        return toven::run_command_line(argc, argv);
    }
    return toven::platform::run_program_module("window", "toven_window_main", argc, argv);
}
