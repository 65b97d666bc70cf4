// Running the built toven as a script runs it, and running a command-line tool, for tests
// that check what a program writes and how it ends.
#pragma once

#include <sys/resource.h>

#include <string>
#include <vector>

namespace toven::test_support {

// How a program ended: its exit status (-1 when it did not exit) and what it wrote.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

struct RunOptions {
    // Standard output goes to this existing device, opened for writing only, and is not
    // collected; null: collected in ProgramRun::out.
    const char* out_device = nullptr;
    // The largest file the program may write (`ulimit -f`); SIGXFSZ keeps its default action,
    // as in a shell.
    rlim_t file_limit = RLIM_INFINITY;
};

// The program under test: TOVEN_BINARY, else the toven built beside this test program.
std::string toven_binary();

// Runs toven_binary() with `arguments` and waits for it to end.
ProgramRun run_toven(const std::vector<std::string>& arguments, const RunOptions& options = {});

// The standard output of a shell command, bytes as they come; empty when it cannot run.
std::string command_output(const std::string& command);

}  // namespace toven::test_support
