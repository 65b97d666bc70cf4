// What a run of the command line leaves in the file system: a file that could not be written
// whole is reported with the system's cause and leaves nothing, and a run that needs no display
// makes no folder of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
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

// An environment variable set, or unset, for the runs of one test.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* was = std::getenv(name)) {
            was_ = was;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { was_ ? ::setenv(name_, was_->c_str(), 1) : ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> was_;
};

// The file-size limit (ulimit -f) stops every kind of file toven writes as a full disk does
// (single pictures are tried with the full disk): status 1 and the system's cause, not death
// by SIGXFSZ, and no file left, however far the writing got. "{}" in an argument stands for
// the run's folder.
struct LimitCase {
    const char* name;
    std::vector<std::string> arguments;
    rlim_t file_limit;
};

const LimitCase limit_cases[] = {
    {"stl", {"--render", "{}/solid.stl"}, 4096},
    {"gif_sweep", {"--render", "{}/sweep.gif", "--sweep", "a=1:2:3"}, 4096},
    {"frame_files", {"--render", "{}/frame-%d.svg", "--sweep", "a=1:2:3"}, 4096},
    {"eval_output", {"--eval", "x+y", "1", "2"}, 1},
};

void PrintTo(const LimitCase& row, std::ostream* out) {
    *out << row.name;
}

class FileSizeLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(FileSizeLimit, IsAWriteErrorThatLeavesNothing) {
    const TempFolder folder("toven-limit");
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (const std::size_t at = argument.find("{}"); at != std::string::npos) {
            argument.replace(at, 2, folder.path().string());
        }
    }
    const ProgramRun run = run_toven(arguments, {.file_limit = GetParam().file_limit});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(run.err.starts_with("toven: ")) << run.err;
    EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
    EXPECT_EQ(entries(folder.path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Writers, FileSizeLimit, ::testing::ValuesIn(limit_cases),
                         [](const auto& test) { return std::string(test.param.name); });

// Without XDG_RUNTIME_DIR, the window system's start would make a runtime folder in the
// temporary folder and leave it there.
TEST(Leftovers, ARenderWithoutARuntimeFolderMakesNone) {
    const TempFolder folder("toven-runtime");
    const ScopedVariable runtime("XDG_RUNTIME_DIR", nullptr);
    const ScopedVariable temporary("TMPDIR", folder.path().c_str());
    ASSERT_EQ(run_toven({"--render", folder.file("page.png")}).status, 0);
    EXPECT_EQ(entries(folder.path()), std::vector<std::string>{"page.png"});
}

}  // namespace
}  // namespace toven::test_support
