// The one loop over a command's arguments: which options each command takes, how items and
// data files are set, and where the loop stops.
#include "app/command/arguments.h"
#include "app/window/app_state.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace toven {
namespace {

enum class Command { render, solid, eval };

struct ArgumentCase {
    const char* label;
    Command command;
    std::vector<std::string> arguments;
    const char* refusal;  // empty: all taken
};

class ArgumentsTest : public testing::Test {
  protected:
    std::string read(Command command, std::vector<std::string> arguments) {
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        ArgumentRules rules{.command = command == Command::eval ? "--eval" : "an STL file"};
        if (command == Command::render) {
            rules = {.command = "--render", .page = &page, .sweep = &sweep};
        }
        rules.formula_item = command != Command::eval;
        const auto refusal = read_arguments(state, argv, rules);
        return refusal ? refusal->message : "";
    }

    AppState state;
    PagePicture page;
    Sweep sweep;
    test_support::TempFolder folder{"arguments"};
};

TEST_F(ArgumentsTest, EachCommandTakesItsOwnOptions) {
    const ArgumentCase cases[] = {
        {"page options", Command::render, {"--size", "+320x240", "--print-layout", "a=2"}, ""},
        {"sweep with a signed rate", Command::render, {"--sweep", "a=1:2:3", "--fps", "+5"}, ""},
        {"unknown option", Command::render, {"--colour"}, "Unknown option \"--colour\" (see"},
        {"size for a solid",
         Command::solid,
         {"--size", "8x8"},
         "The option --size draws pages; an STL"},
        {"sweep for --eval",
         Command::eval,
         {"--sweep", "a=1:2:3"},
         "The option --sweep draws pages; --"},
        {"formula for --eval", Command::eval, {" f(x,y) = y"}, "With --eval the formula comes as "},
        {"formula for a solid", Command::solid, {"f(x,y)=y"}, ""},
        {"stops at a bad item",
         Command::solid,
         {"b=2", "n=2.5", "c=4"},
         "The item n needs a whole"},
    };
    for (const ArgumentCase& c : cases) {
        SCOPED_TRACE(c.label);
        state.fdata = AppState().fdata;
        const std::string refusal = read(c.command, c.arguments);
        EXPECT_EQ(refusal.substr(0, std::string(c.refusal).size()), c.refusal) << refusal;
        EXPECT_EQ(refusal.empty(), std::string(c.refusal).empty()) << refusal;
    }
    EXPECT_EQ(page.width, 320);
    EXPECT_TRUE(page.print_layout);
    EXPECT_EQ(sweep.frames_per_second, 5);
    EXPECT_EQ(state.fdata[2].value(), "2") << "the items before a bad one stay set";
    EXPECT_EQ(state.fdata[3].value(), "1") << "the items after it are not read";
}

// A data file is read for every command, a solid's included.
TEST_F(ArgumentsTest, AnExistingFileIsADataFile) {
    const std::string path = folder.file("data.toven");
    std::ofstream(path) << "# data\nb=7\n";
    EXPECT_EQ(read(Command::solid, {path, "c=5"}), "");
    EXPECT_EQ(state.fdata[2].value(), "7");
    EXPECT_EQ(state.fdata[3].value(), "5");
}

}  // namespace
}  // namespace toven
