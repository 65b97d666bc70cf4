#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/user_tables.h"
#include "tests/support/program_run.h"
#include "tests/support/scoped_tables.h"

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
        {"not_a_number", {"(-8)^0.5", "0", "0"}, "-nan\n"},
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
        {"unknown_name", {"--eval", "x", "0", "0", "q=1"}, "toven: unknown name 'q'"},
        {"no_equals", {"--eval", "x", "0", "0", "a"}, "toven: expected NAME=VALUE"},
        {"bad_x", {"--eval", "x", "one", "0"}, "toven: X is not a number: 'one'"},
        {"bad_y", {"--eval", "x", "0", "2y"}, "toven: Y is not a number: '2y'"},
        {"empty_x", {"--eval", "x", "", "0"}, "toven: X is not a number"},
        {"missing_y", {"--eval", "x", "0"}, "toven: --eval needs FORMULA X Y"},
        {"unknown_option", {"--plot"}, "toven: unknown option '--plot'"},
        {"formula_twice",
         {"--eval", "x", "1", "2", " f(x,y) =y"},
         "toven: --eval takes the formula as FORMULA, so 'f(x,y)=' cannot be given too"},
    };
    for (const FailureCase& c : cases) {
        Outcome run = run_toven(c.arguments);
        EXPECT_EQ(run.status, 1) << c.label;
        EXPECT_EQ(run.out, "") << c.label;
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.label << ": " << run.err;
    }
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
        EXPECT_EQ(run.err, "toven: cannot write to standard output: No space left on device\n");
    }
}

class ApplyAssignmentTest : public testing::Test {
  protected:
    test_support::ScopedTables tables{fdata, sdata};
};

TEST_F(ApplyAssignmentTest, SetsTheLineAsADataBoxWould) {
    EXPECT_EQ(apply_assignment("tilt=30"), std::nullopt);
    EXPECT_STREQ(sdata[10].line, "tilt      = 30");
    EXPECT_STREQ(sdata[10].value, "30");
    EXPECT_EQ(apply_assignment(" a =2"), std::nullopt);
    EXPECT_STREQ(fdata[1].line, "a = 2");
    EXPECT_EQ(apply_assignment("f(x,y)=x^2+y^2"), std::nullopt);
    EXPECT_STREQ(fdata[6].line, "f(x,y) = x^2+y^2");
    EXPECT_EQ(apply_assignment("title="), std::nullopt);
    EXPECT_STREQ(sdata[14].line, "title     = ");
}

TEST_F(ApplyAssignmentTest, RefusesWhatItCannotPlace) {
    for (const char* text : {"sdata=3", "fdata=1", "=3", "zz=1", "tilt"}) {
        const auto refusal = apply_assignment(text);
        ASSERT_TRUE(refusal.has_value()) << text;
        EXPECT_FALSE(refusal->message.empty()) << text;
    }
    EXPECT_STREQ(sdata[0].line, "sdata     = 14");
}

}  // namespace
}  // namespace toven
