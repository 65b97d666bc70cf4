// What a run of the command line leaves in the file system: a file that could not be written
// whole is reported with the system's cause and leaves nothing, and a run that needs no display
// makes no folder of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace toven::test_support {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// The file-size limit (ulimit -f) stops every kind of file toven writes as a full disk does
// (single pictures are tried with the full disk): status 1 and the system's cause, not death
// by SIGXFSZ, and no file left, however far the writing got.
TEST(Leftovers, TheFileSizeLimitIsAWriteErrorThatLeavesNothing) {
    const struct {
        std::vector<std::string> arguments;  // --render's file is put in the run's folder
        rlim_t file_limit;
    } cases[] = {
        {{"--render", "solid.stl"}, 4096},
        {{"--render", "sweep.gif", "--sweep", "a=1:2:3"}, 4096},
        {{"--render", "frame-%d.svg", "--sweep", "a=1:2:3"}, 4096},
        {{"--eval", "x+y", "1", "2"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        const TempFolder folder("toven-limit");
        std::vector<std::string> arguments = c.arguments;
        if (arguments[0] == "--render") {
            arguments[1] = folder.file(arguments[1]);
        }
        const ProgramRun run = run_toven(arguments, {.file_limit = c.file_limit});
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_TRUE(run.err.starts_with("toven: ")) << run.err;
        EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
        EXPECT_EQ(entries(folder.path()), std::vector<std::string>{});
    }
}

// Without XDG_RUNTIME_DIR, the window system's start would make a runtime folder in the
// temporary folder and leave it there.
TEST(Leftovers, ARenderWithoutARuntimeFolderMakesNone) {
    const TempFolder folder("toven-runtime");
    const std::string status =
        command_output("env -u XDG_RUNTIME_DIR TMPDIR='" + folder.path().string() + "' '" +
                       toven_binary() + "' --render '" + folder.file("page.png") + "'; echo $?");
    EXPECT_EQ(status, "0\n");
    EXPECT_EQ(entries(folder.path()), std::vector<std::string>{"page.png"});
}

}  // namespace
}  // namespace toven::test_support
