#include "app/command/command_line.h"
#include "app/window/app_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/files/data_file.h"
#include "expr/item_table.h"
#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

using Outcome = test_support::ProgramRun;
using test_support::run_toven;

class CommandLineTest : public testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("TOVEN_BINARY") == nullptr) {
            GTEST_SKIP() << "TOVEN_BINARY names the program under test";
        }
    }
};

struct EvalCase {
    const char* label;
    std::vector<std::string> arguments;
    const char* out;
};

TEST_F(CommandLineTest, EvalPrintsTheValue) {
    const EvalCase cases[] = {
        {"default_formula", {"sin(|x|^a  + |y|^b)", "1", "-1"}, "0.90929742682568171\n"},
        {"parameters", {"a*x + b", "2", "0", "a=1.5", "b = 4"}, "7\n"},
        {"graph_data_names_are_accepted", {"x", "1", "0", "tilt=30"}, "1\n"},
        {"domain_error_is_zero", {"log(x)", "-1", "0"}, "0\n"},
        {"not_a_number_whatever_its_sign", {"(-8)^0.5", "0", "0"}, "nan\n"},
        {"blanks_around_x_and_y", {"x+y", " 1", "2 "}, "3\n"},
        {"infinity", {"exp(x)", "1000", "0"}, "inf\n"},
        {"exponent_in_x", {"x", "2.5e-3", "0"}, "0.0025000000000000001\n"},
    };
    for (const EvalCase& c : cases) {
        std::vector<std::string> arguments{"--eval"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        Outcome run = run_toven(arguments);
        EXPECT_EQ(run.status, 0) << c.label << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.label;
        EXPECT_EQ(run.err, "") << c.label;
    }
}

struct FailureCase {
    const char* label;
    std::vector<std::string> arguments;
    const char* err;
};

TEST_F(CommandLineTest, BadInputFailsWithAMessage) {
    const FailureCase cases[] = {
        {"parse_error", {"--eval", "2x", "0", "0"}, "2x  Unexpected character.\n"},
        {"illegal_character", {"--eval", "2#x", "0", "0"}, "2#x  Illegal character.\n"},
        {"unknown_name", {"--eval", "x", "0", "0", "q=1"}, "toven: Unknown name \"q\""},
        {"no_equals",
         {"--eval", "x", "0", "0", "a"},
         "toven: Cannot read \"a\": No such file or directory, and an item is given as NAME"},
        {"bad_x", {"--eval", "x", "one", "0"}, "toven: X is not a number: \"one\"."},
        {"bad_y", {"--eval", "x", "0", "2y"}, "toven: Y is not a number: \"2y\"."},
        {"empty_x", {"--eval", "x", "", "0"}, "toven: X is not a number"},
        {"missing_y", {"--eval", "x", "0"}, "toven: The option --eval needs FORMULA X Y"},
        {"unknown_option", {"--plot"}, "toven: Unknown option \"--plot\""},
        {"bad_item_number",
         {"--eval", "x", "0", "0", "k=1e6"},
         "toven: The item k needs a whole number"},
        {"render_bad_item_number",
         {"--render", "never_written.svg", "a=abc"},
         "toven: The item a needs one decimal number"},
        {"formula_twice",
         {"--eval", "x", "1", "2", " f(x,y) =y"},
         "toven: With --eval the formula comes as FORMULA, so f(x,y)= cannot be given too"},
    };
    for (const FailureCase& c : cases) {
        Outcome run = run_toven(c.arguments);
        EXPECT_EQ(run.status, 1) << c.label;
        EXPECT_EQ(run.out, "") << c.label;
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.label << ": " << run.err;
    }
}

// A grid file in place of the formula: read by straight lines between its nodes, a hole is
// no number, a point outside is refused; the same file draws a page and a solid.
TEST_F(CommandLineTest, AGridFileStandsInForTheFormula) {
    test_support::TempFolder folder{"grid-command"};
    const std::string grid = folder.file("heights.csv");
    std::ofstream(grid) << "x,10,20,40\n0,1,2,3\n1,5,6,nan\n";
    const struct {
        const char* label;
        std::vector<std::string> arguments;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {"node", {"--eval", grid, "20", "1"}, 0, "6\n", ""},
        {"between_nodes", {"--eval", grid, "30", "0"}, 0, "2.5\n", ""},
        {"bilinear", {"--eval", grid, "15", "0.5"}, 0, "3.5\n", ""},
        {"next_to_a_hole", {"--eval", grid, "30", "0.5"}, 0, "nan\n", ""},
        {"outside",
         {"--eval", grid, "41", "0"},
         1,
         "",
         "toven: The point \"41, 0\" lies outside the grid of \""},
        {"beside_a_formula",
         {"--eval", "x*y", "1", "2", grid},
         1,
         "",
         "toven: With --eval the surface comes as FORMULA, so the grid of \""},
        {"page", {"--render", folder.file("page.png"), grid, "tilt=20"}, 0, "", ""},
        {"solid", {"--render", folder.file("solid.stl"), grid}, 0, "", ""},
    };
    for (const auto& c : cases) {
        Outcome run = run_toven(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.label << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.label;
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.label << ": " << run.err;
    }
    struct stat written {};
    EXPECT_EQ(stat(folder.file("page.png").c_str(), &written), 0);
    EXPECT_EQ(stat(folder.file("solid.stl").c_str(), &written), 0);
    // A folder is no grid: its name is taken as the formula it spells (here, one that fails).
    const Outcome named_folder = run_toven({"--eval", folder.path().string(), "1", "2"});
    EXPECT_EQ(named_folder.status, 1);
    EXPECT_EQ(named_folder.err.find("directory"), std::string::npos) << named_folder.err;
}

TEST_F(CommandLineTest, LongFormulasReachTheEngineWhole) {
    std::string formula = "x";
    while (formula.size() < 10000) {
        formula += "+x";
    }
    Outcome run = run_toven({"--eval", formula, "1", "0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::to_string((formula.size() + 1) / 2) + "\n");

    std::string deep = std::string(1000, '(') + "y" + std::string(1000, ')');
    run = run_toven({"--eval", deep, "0", "3"});
    EXPECT_EQ(run.out, "3\n");
}

TEST_F(CommandLineTest, HelpDescribesTheOptions) {
    Outcome run = run_toven({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* text : {"--eval FORMULA X Y", "--render FILE", "NAME=VALUE", "%.17g"}) {
        EXPECT_NE(run.out.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(run.out.find('{'), std::string::npos) << "every field of the text is filled in";
}

// A result that cannot be written is lost, so the run fails and says why.
TEST_F(CommandLineTest, FullStandardOutputFails) {
    struct stat device {};
    if (stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode)) {
        GTEST_SKIP() << "no /dev/full here";
    }
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--eval", "x", "1", "2"}, {"--help"}, {"--version"}}) {
        const Outcome run = run_toven(arguments, {.out_device = "/dev/full"});
        EXPECT_EQ(run.status, 1) << arguments[0];
        EXPECT_EQ(run.err, "toven: Cannot write to standard output: No space left on device.\n");
    }
}

class ApplyAssignmentTest : public testing::Test {
  protected:
    std::optional<platform::Refusal> apply_assignment(std::string_view item) {
        return toven::apply_assignment(state, item);
    }
    // The record of the item called `name`.
    const DataRecord& record_named(std::string_view name) {
        const ItemSpec* item = find_item_spec(name);
        EXPECT_NE(item, nullptr) << name;
        if (item == nullptr) {
            return fdata[0];
        }
        return (item->table == TableName::fdata ? fdata : sdata)[record_number(*item)];
    }

    AppState state;
    DataTable& fdata = state.fdata;
    DataTable& sdata = state.sdata;
};

TEST_F(ApplyAssignmentTest, SetsTheLineAsADataBoxWould) {
    EXPECT_EQ(apply_assignment("tilt=30"), std::nullopt);
    EXPECT_EQ(sdata[10].line, "tilt      = 30");
    EXPECT_EQ(sdata[10].value(), "30");
    EXPECT_EQ(apply_assignment(" a =2"), std::nullopt);
    EXPECT_EQ(fdata[1].line, "a = 2");
    EXPECT_EQ(apply_assignment("f(x,y)=x^2+y^2"), std::nullopt);
    EXPECT_EQ(fdata[6].line, "f(x,y) = x^2+y^2");
    EXPECT_EQ(apply_assignment("title="), std::nullopt);
    EXPECT_EQ(sdata[14].line, "title     = ");
}

struct ItemCase {
    const char* item;
    const char* message;  // empty: the item is taken
    const char* value;    // the value the record then holds
};

// A number item is one decimal number and a counting item a whole number within int, blanks
// around them ignored; the message quotes the value as typed. Every item but the formula fits
// a data window's line.
TEST_F(ApplyAssignmentTest, TakesOnlyWholeNumbersOfTheirKind) {
    const std::string longest_title(106, 't');
    const std::string longer_title(107, 't');
    const std::string title = "title=" + longest_title;
    const std::string too_long = "title=" + longer_title;
    const ItemCase cases[] = {
        {"a=2.5", "", "2.5"},
        {"a= -1e-3 ", "", "-1e-3"},
        {"x1=+2", "", "+2"},
        {"tilt=.5", "", ".5"},
        {"b=7.", "", "7."},
        {"n= 20\t", "", "20"},
        {"pc=-1", "", "-1"},
        {"k=+3", "", "+3"},
        {title.c_str(), "", longest_title.c_str()},
        {"a=abc", "The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \"abc\".",
         ""},
        {"a=1 2", "The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \"1 2\".",
         ""},
        {"x1=", "The item x1 needs one decimal number, such as 2.5, -1e-3 or .5, not \"\".", ""},
        {"tilt=30deg",
         "The item tilt needs one decimal number, such as 2.5, -1e-3 or .5, not \"30deg\".", ""},
        {"a=0x10", "The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \"0x10\".",
         ""},
        {"a=inf", "The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \"inf\".",
         ""},
        {"a=nan", "The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \"nan\".",
         ""},
        {"a=1e", "The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \"1e\".", ""},
        {"a=.", "The item a needs one decimal number, such as 2.5, -1e-3 or .5, not \".\".", ""},
        {"z2=1e999", "The item z2 needs a number within the range of a double, not \"1e999\".", ""},
        {"n=2.5", "The item n needs a whole number, such as 20, not \"2.5\".", ""},
        {"n=1e9", "The item n needs a whole number, such as 20, not \"1e9\".", ""},
        {"n=0x10", "The item n needs a whole number, such as 20, not \"0x10\".", ""},
        {"ax=abc", "The item ax needs a whole number, such as 20, not \"abc\".", ""},
        {"fc=+-1", "The item fc needs a whole number, such as 20, not \"+-1\".", ""},
        {"m= 99999999999",
         "The item m needs a whole number from -2147483648 to 2147483647, not \" 99999999999\".",
         ""},
        {too_long.c_str(),
         "The item title takes at most 106 bytes, as a data window's line holds 118 with its name "
         "(a character outside ASCII takes two to four); this one has 107.",
         ""},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.item);
        const std::string_view item = c.item;
        const DataRecord& record = record_named(item.substr(0, item.find('=')));
        const std::string line_before = record.line;
        const auto refusal = apply_assignment(item);
        EXPECT_EQ(refusal ? refusal->message : "", c.message);
        if (refusal) {
            EXPECT_EQ(record.line, line_before);
        } else {
            EXPECT_STREQ(record_value(record), c.value);
        }
    }
}

TEST_F(ApplyAssignmentTest, RefusesWhatItCannotPlace) {
    for (const char* text : {"sdata=3", "fdata=1", "=3", "zz=1", "tilt"}) {
        const auto refusal = apply_assignment(text);
        ASSERT_TRUE(refusal.has_value()) << text;
        EXPECT_FALSE(refusal->message.empty()) << text;
    }
    EXPECT_EQ(sdata[0].line, "sdata     = 14");
}

}  // namespace
}  // namespace toven
