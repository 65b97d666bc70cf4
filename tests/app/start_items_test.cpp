// toven NAME=VALUE ...: the window program starts with the given data, and bad data is
// refused on standard error before any window opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command/command_line.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/program_run.h"

namespace toven::test_support {
namespace {

struct StartRefusal {
    const char* name;
    std::vector<std::string> items;
    std::string message_part;
};

// The longest formula, a sum of x: some 50,000 additions an evaluation.
std::string longest_sum() {
    std::string formula = "f(x,y)=x";
    while (formula.size() < 99'990) {
        formula += "+x";
    }
    return formula;
}

// Under the offscreen platform a program that opened its window would wait in its message
// loop until the test's timeout; a refusal ends at once.
TEST(StartItems, BadDataIsRefusedBeforeAnyWindowOpens) {
    const StartRefusal cases[] = {
        {"unknown_name", {"a=2", "q=1"}, "toven: Unknown name \"q\""},
        {"no_equals",
         {"tilt"},
         "toven: Cannot read \"tilt\": No such file or directory, and an item is given as "
         "NAME=VALUE."},
        {"graph_data_that_cannot_be_plotted", {"m=0"}, "toven: The mesh needs"},
        {"formula_that_does_not_parse", {"f(x,y)=2x"}, "2x  "},
        {"evaluations_too_slow_for_any_window",
         {longest_sum(), "n=100", "m=100"},
         "toven: The plot is too large: 404202 evaluations of f(x,y), at "},
        {"bad_number",
         {"a=abc"},
         "toven: The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \"abc\".\n"},
        {"bad_count",
         {"n=1e9"},
         "toven: The item n needs a whole number, such as 20, not \"1e9\".\n"},
    };
    for (const StartRefusal& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun run = run_toven(c.items);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

using StartItemsShell = ShellTest;

TEST_F(StartItemsShell, TheDataWindowsShowTheGivenValues) {
    std::vector<std::string> arguments = {"toven", "a=2", "f(x,y)=x*y", "tilt=30"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    ASSERT_EQ(start_items_refusal(state, static_cast<int>(argv.size()), argv.data()), std::nullopt);
    command(fdata_command);
    command(gdata);
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 0), "a = 2");
    EXPECT_EQ(platform::list_line(state.fdata_box->list, 5), "f(x,y) = x*y");
    EXPECT_EQ(platform::list_line(state.sdata_box->list, 9), std::string(sdata[10].name) + " = 30");
}

// Someone who starts toven from a desktop has no terminal: the refusal is shown in a box of its
// own, over no window, before the program ends.
TEST_F(StartItemsShell, ARefusalIsShownInABox) {
    std::vector<std::string> arguments = {"toven", "a=2", "q=1"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    const auto refusal = start_items_refusal(state, static_cast<int>(argv.size()), argv.data());
    ASSERT_TRUE(refusal);
    show_start_refusal(*refusal);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].owner, nullptr);
    EXPECT_EQ(boxes.shown()[0].caption, "toven did not start");
    EXPECT_EQ(boxes.shown()[0].text.rfind("Unknown name \"q\"", 0), 0u) << boxes.shown()[0].text;
}

}  // namespace
}  // namespace toven::test_support
