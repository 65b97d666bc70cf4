#include "expr/surface_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <vector>
#include "tests/support/test_tables.h"

namespace toven {
namespace {

class SurfaceFunctionTest : public testing::Test {
  protected:
    void set_value(int record, const char* value) {
        fdata[record] = make_record(fdata[record].name, value);
    }

    DataTable fdata = test_support::default_fdata();
};

TEST_F(SurfaceFunctionTest, DefaultTablesGiveTheDefaultSurface) {
    SurfaceFunction function(fdata);
    EXPECT_EQ(function.parameter_count, 5);
    EXPECT_FALSE(function.compiled);
    EXPECT_FALSE(function.parse_error_sink);
    function.compile();
    function.load_parameters();
    EXPECT_TRUE(function.compiled);
    EXPECT_EQ(function.evaluate(1, -1), std::sin(2.0));
    EXPECT_EQ(function.evaluate(0.5, 0.25),
              std::sin(std::pow(std::fabs(0.5), 3) + std::pow(std::fabs(0.25), 3)));
}

TEST_F(SurfaceFunctionTest, ParametersComeFromTheirRecords) {
    set_value(6, "a + b*10 + c*100 + d*1000 + e*10000 + x + y");
    set_value(1, "abc");
    set_value(2, "2.5e1xyz");
    set_value(3, "  7");
    SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    EXPECT_EQ(function.evaluate(0.25, 0.5), 0 + 250 + 700 + 1000 + 10000 + 0.25 + 0.5);
}

TEST_F(SurfaceFunctionTest, NothingEvaluatesBeforeCompile) {
    SurfaceFunction function(fdata);
    function.load_parameters();
    EXPECT_EQ(function.evaluate(1, -1), 0);
}

TEST_F(SurfaceFunctionTest, AFormulaInXAloneIgnoresY) {
    set_value(6, "x^2");
    SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    EXPECT_EQ(function.evaluate(3, 100), 9);
    EXPECT_EQ(find_symbol(function.expression().lexer()->symbols.get(), "y"), nullptr);
}

// The sink hears a formula that does not parse once per reporting compile, with the record's
// line; a silent compile and a function without a sink tell nobody.
TEST_F(SurfaceFunctionTest, ParseErrorsGoToTheSinkOnlyWhenReported) {
    set_value(6, "2x");
    SurfaceFunction function(fdata);
    function.compile();
    EXPECT_FALSE(function.compiled);
    std::vector<std::string> reported;
    function.parse_error_sink = [&reported](const std::string& line) { reported.push_back(line); };
    function.compile(ParseErrorReport::silent);
    function.compile();
    function.load_parameters();
    EXPECT_EQ(reported, std::vector<std::string>{"f(x,y) = 2x"});
    EXPECT_EQ(function.evaluate(1, 1), 0);
}

TEST_F(SurfaceFunctionTest, AFailedCompileUndoesAGoodOne) {
    SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    set_value(6, "x+");
    function.compile();
    EXPECT_FALSE(function.compiled);
    EXPECT_EQ(function.evaluate(1, -1), 0);
    set_value(6, "x+1");
    function.compile();
    EXPECT_TRUE(function.compiled);
    EXPECT_EQ(function.evaluate(1, -1), 2);
}

TEST_F(SurfaceFunctionTest, ALongFormulaReachesTheEngineWhole) {
    std::string formula = "x";
    for (int i = 0; i < 40; ++i) {
        formula += " + 1";
    }
    set_line(fdata[6], ("f(x,y) = " + formula).c_str());
    SurfaceFunction function(fdata);
    function.compile();
    EXPECT_TRUE(function.compiled);
    EXPECT_EQ(function.evaluate(1, 0), 41);
}

TEST_F(SurfaceFunctionTest, EvaluationErrorsGiveZero) {
    set_value(6, "log(x) + sqrt(y)");
    SurfaceFunction function(fdata);
    function.compile();
    EXPECT_EQ(function.evaluate(-1, 4), 0);
    EXPECT_EQ(function.evaluate(1, -4), 0);
    EXPECT_EQ(function.evaluate(1, 4), 2);
}

}  // namespace
}  // namespace toven
