#include "expr/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "tests/support/tree_evaluation.h"

namespace toven {
namespace {

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();

// Compiles `formula`, gives x, y, a and b their values and evaluates.
struct Compiled {
    explicit Compiled(const char* formula, double x = 0, double y = 0) {
        expression.parse(formula, ok);
        if (ok) {
            Symbol* symbols = expression.lexer()->symbols.get();
            set_variable("x", x, symbols);
            set_variable("y", y, symbols);
            set_variable("a", 3, symbols);
            set_variable("b", 3, symbols);
        }
    }
    Expression expression;
    bool ok = false;
};

bool same_bits(double left, double right) {
    return std::memcmp(&left, &right, sizeof left) == 0 || (std::isnan(left) && std::isnan(right));
}

struct ValueCase {
    const char* label;
    const char* formula;
    double x;
    double y;
    double expected;

    friend void PrintTo(const ValueCase& row, std::ostream* out) { *out << row.formula; }
};

class ExpressionValue : public testing::TestWithParam<ValueCase> {};

TEST_P(ExpressionValue, EvaluatesAsStated) {
    const ValueCase& c = GetParam();
    Compiled compiled(c.formula, c.x, c.y);
    ASSERT_TRUE(compiled.ok) << compiled.expression.diagnostic();
    double value = compiled.expression.evaluate();
    EXPECT_TRUE(same_bits(value, c.expected)) << c.formula << " gave " << value;
}

// The tree's own evaluation and the postfix program give the same bits.
TEST_P(ExpressionValue, TreeAgreesWithProgram) {
    const ValueCase& c = GetParam();
    Compiled compiled(c.formula, c.x, c.y);
    ASSERT_TRUE(compiled.ok);
    const double tree_value = test_support::tree_value_or_zero(*compiled.expression.root());
    EXPECT_TRUE(same_bits(tree_value, compiled.expression.evaluate())) << c.formula;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionValue,
    testing::Values(
        ValueCase{"default_formula", "sin(|x|^a  + |y|^b)", 1, -1, std::sin(2.0)},
        ValueCase{"default_formula_inside", "sin(|x|^a  + |y|^b)", 0.3, -0.7,
                  std::sin(std::pow(0.3, 3.0) + std::pow(0.7, 3.0))},
        ValueCase{"leading_minus_binds_loosest", "-2^2", 0, 0, -4},
        ValueCase{"minus_of_a_parenthesis", "-(2)^2", 0, 0, -4},
        ValueCase{"parenthesised_minus", "(-2)^2", 0, 0, 4},
        ValueCase{"leading_minus_takes_the_term", "-x * y", 2, 3, -6},
        ValueCase{"leading_minus_is_zero_minus", "-x", 0, 0, 0.0},
        ValueCase{"power_before_product", "2^3 * 2", 0, 0, 16},
        ValueCase{"product_then_power", "2 * 3^2", 0, 0, 18},
        ValueCase{"division_is_left_associative", "8/2/2", 0, 0, 2},
        ValueCase{"subtraction_is_left_associative", "8-2-2", 0, 0, 4},
        ValueCase{"left_to_right_rounding", "x+y-x", 1e16, 1, 0},
        ValueCase{"nested_powers", "(2^3)^2", 0, 0, 64},
        ValueCase{"right_nested_powers", "2^(3^2)", 0, 0, 512},
        ValueCase{"bars", "|x - y|", 1, 3, 2}, ValueCase{"bars_with_minus", "|-x|", 2, 0, 2},
        ValueCase{"nested_bars", "||x| - 3|", -1, 0, 2},
        ValueCase{"call_argument_minus", "fabs(-x)", 5, 0, 5},
        ValueCase{"unset_variable_is_zero", "k + 1", 0, 0, 1},
        ValueCase{"case_matters", "A + a", 0, 0, 3},
        ValueCase{"function_name_as_variable", "sin + 1", 0, 0, 1},
        ValueCase{"cube_root_of_negative_is_nan", "(-8)^(1/3)", 0, 0, nan_value},
        ValueCase{"power_of_negative_base_is_nan", "(-8)^0.5", 0, 0, nan_value},
        ValueCase{"tiny_divisor_is_fine", "1/1e-300", 0, 0, 1 / 1e-300},
        ValueCase{"exp_overflow", "exp(1000)", 0, 0, HUGE_VAL},
        ValueCase{"log_of_one", "log(x)", 1, 0, 0}, ValueCase{"step_of_zero", "step(x)", 0, 0, 1},
        ValueCase{"numbers", "3. + .5 + 5e2", 0, 0, 503.5},
        ValueCase{"blanks_and_tabs", " x\t*\t y ", 2, 4, 8},
        ValueCase{"all_builtins",
                  "sin(x)+cos(x)+tan(x)+atan(x)+exp(x)+log(x)+sqrt(x)+cosh(x)+sinh(x)+tanh(x)+"
                  "fabs(x)+step(x)",
                  0.5, 0,
                  std::sin(0.5) + std::cos(0.5) + std::tan(0.5) + std::atan(0.5) + std::exp(0.5) +
                      std::log(0.5) + std::sqrt(0.5) + std::cosh(0.5) + std::sinh(0.5) +
                      std::tanh(0.5) + 0.5 + 1}),
    [](const testing::TestParamInfo<ValueCase>& row) { return row.param.label; });

struct ErrorCase {
    const char* label;
    const char* formula;
    const char* diagnostic;

    friend void PrintTo(const ErrorCase& row, std::ostream* out) { *out << row.formula; }
};

class ExpressionError : public testing::TestWithParam<ErrorCase> {};

TEST_P(ExpressionError, ReportsTheFirstError) {
    Compiled compiled(GetParam().formula);
    EXPECT_FALSE(compiled.ok);
    EXPECT_EQ(compiled.expression.diagnostic(), GetParam().diagnostic);
    EXPECT_EQ(compiled.expression.evaluate(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionError,
    testing::Values(ErrorCase{"empty", "", "  Syntax error."},
                    ErrorCase{"blanks_only", "   ", "     Syntax error."},
                    ErrorCase{"power_does_not_associate", "a^b^c", "a^b^c  Unexpected character."},
                    ErrorCase{"no_implicit_product", "2x", "2x  Unexpected character."},
                    ErrorCase{"two_points", "1.2.3", "1.2.3  Unexpected character."},
                    ErrorCase{"unopened_parenthesis", "a)", "a)  Unexpected character."},
                    ErrorCase{"unclosed_parenthesis", "(a+b", "(a+b  ')' expected."},
                    ErrorCase{"unclosed_bar", "|a+b", "|a+b  '|' expected."},
                    ErrorCase{"undefined_function", "foo(x)", "foo(x)  Undefined function."},
                    ErrorCase{"argument_error_first", "foo(", "foo(  Syntax error."},
                    ErrorCase{"capital_function", "Sin(x)", "Sin(x)  Undefined function."},
                    ErrorCase{"call_of_a_parameter", "a(x)", "a(x)  Undefined function."},
                    ErrorCase{"minus_after_power", "2^-1", "2^-1  Syntax error."},
                    ErrorCase{"minus_after_times", "x * -y", "x * -y  Syntax error."},
                    ErrorCase{"leading_plus", "+x", "+x  Syntax error."},
                    ErrorCase{"two_arguments", "atan(y,x)", "atan(y,x  Illegal character."},
                    ErrorCase{"bad_number", "1e+x", "1e+x  Error in number."},
                    ErrorCase{"illegal_character", "2#x", "2#x  Illegal character."},
                    ErrorCase{"lone_point", "x + .", "x + .  Error in number."},
                    ErrorCase{"empty_parentheses", "()", "()  Syntax error."},
                    ErrorCase{"trailing_operator", "x+", "x+  Syntax error."},
                    ErrorCase{"equation", "f(x,y)=x", "f(x,y  Illegal character."}),
    [](const testing::TestParamInfo<ErrorCase>& row) { return row.param.label; });

struct DomainCase {
    const char* label;
    const char* formula;
    double x;
    const char* diagnostic;

    friend void PrintTo(const DomainCase& row, std::ostream* out) { *out << row.formula; }
};

class EvaluationError : public testing::TestWithParam<DomainCase> {};

TEST_P(EvaluationError, GivesZeroAndComposesTheDiagnostic) {
    Compiled compiled(GetParam().formula, GetParam().x);
    ASSERT_TRUE(compiled.ok);
    EXPECT_TRUE(same_bits(compiled.expression.evaluate(), 0.0));
    EXPECT_EQ(compiled.expression.diagnostic(), GetParam().diagnostic);
}

// The tree's own evaluation stops at the same first error as the postfix program.
TEST_P(EvaluationError, TreeMeetsTheSameError) {
    Compiled compiled(GetParam().formula, GetParam().x);
    ASSERT_TRUE(compiled.ok);
    std::optional<test_support::TreeError> error;
    try {
        test_support::TreeEvaluation().value_of(*compiled.expression.root());
    } catch (const test_support::TreeError& met) {
        error = met;
    }
    ASSERT_TRUE(error) << GetParam().formula;
    char diagnostic[64];
    std::snprintf(diagnostic, sizeof diagnostic, "Domain error: %s(%.6g)", error->function,
                  error->argument);
    EXPECT_STREQ(diagnostic, GetParam().diagnostic);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EvaluationError,
    testing::Values(DomainCase{"log_of_minus_one", "log(x)", -1, "Domain error: log(-1)"},
                    DomainCase{"log_of_zero", "log(x)", 0, "Domain error: log(0)"},
                    DomainCase{"sqrt_of_tiny", "sqrt(x)", -1e-300, "Domain error: sqrt(-1e-300)"},
                    DomainCase{"sqrt_six_digits", "sqrt(x)", -1234567,
                               "Domain error: sqrt(-1.23457e+06)"},
                    DomainCase{"division_by_zero", "1/x", 0, "Domain error: div(0)"},
                    DomainCase{"division_by_minus_zero", "1/x", -0.0, "Domain error: div(0)"},
                    DomainCase{"zero_by_zero", "0/0", 0, "Domain error: div(0)"},
                    DomainCase{"division_by_difference", "1/(x-x)", 5, "Domain error: div(0)"},
                    DomainCase{"error_inside_a_divisor", "1/log(-x)", 0, "Domain error: log(0)"},
                    DomainCase{"first_error_wins", "1/x + sqrt(-1)", 0, "Domain error: div(0)"},
                    DomainCase{"error_inside_a_term", "2 * (3 + log(x)) * exp(1)", -2,
                               "Domain error: log(-2)"}),
    [](const testing::TestParamInfo<DomainCase>& row) { return row.param.label; });

TEST(Expression, DivisionByNotANumberRaises) {
    Compiled compiled("1/(x^0.5)", -1);
    ASSERT_TRUE(compiled.ok);
    EXPECT_EQ(compiled.expression.evaluate(), 0);
    EXPECT_EQ(compiled.expression.diagnostic(), "Domain error: div(0)");
}

TEST(Expression, AnErrorLeavesNoState) {
    Compiled compiled("log(x)", -1);
    EXPECT_EQ(compiled.expression.evaluate(), 0);
    set_variable("x", M_E, compiled.expression.lexer()->symbols.get());
    EXPECT_EQ(compiled.expression.evaluate(), std::log(M_E));
}

TEST(Expression, EachParseStartsTheVariablesAgain) {
    Expression expression;
    bool ok = false;
    expression.parse("x", ok);
    set_variable("x", 5, expression.lexer()->symbols.get());
    EXPECT_EQ(expression.evaluate(), 5);
    expression.parse("x", ok);
    EXPECT_EQ(expression.evaluate(), 0);
}

TEST(Expression, AFailedParseAfterAGoodOneGivesZero) {
    Expression expression;
    bool ok = false;
    expression.parse("1+1", ok);
    EXPECT_EQ(expression.evaluate(), 2);
    expression.parse("1+", ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(expression.evaluate(), 0);
}

TEST(Expression, UnparsedExpressionEvaluatesToZero) {
    Expression expression;
    EXPECT_EQ(expression.evaluate(), 0);
    EXPECT_EQ(expression.lexer(), nullptr);
}

TEST(Expression, ParseDoesNotKeepTheText) {
    Expression expression;
    bool ok = false;
    {
        std::string text = "x + 2";
        expression.parse(text.c_str(), ok);
    }
    EXPECT_EQ(expression.evaluate(), 2);
}

TEST(Expression, BuildsTheStatedTree) {
    Compiled compiled("-a * b + 1");
    auto* sum = dynamic_cast<const BinaryNode*>(compiled.expression.root());
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->op, Plus);
    auto* negation = dynamic_cast<const BinaryNode*>(sum->left.get());
    ASSERT_NE(negation, nullptr);
    EXPECT_EQ(negation->op, Minus);
    auto* zero = dynamic_cast<const ConstantNode*>(negation->left.get());
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->value, 0);
    auto* product = dynamic_cast<const BinaryNode*>(negation->right.get());
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->op, Times);
}

TEST(Expression, BarsCallFabs) {
    Compiled compiled("|x|");
    auto* call = dynamic_cast<const CallNode*>(compiled.expression.root());
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->function, find_function("fabs"));
    EXPECT_NE(dynamic_cast<const VariableNode*>(call->argument_node.get()), nullptr);
}

}  // namespace
}  // namespace toven
