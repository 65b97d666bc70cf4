// Formulas at and beyond the engine's limits, and text that is not a formula at all.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "expr/expression.h"
#include "expr/parser.h"

namespace toven {
namespace {

std::string nested(int depth, const char* open, const char* inner, const char* close) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    text += inner;
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

double evaluate(const std::string& formula, bool& ok, std::string* diagnostic = nullptr) {
    Expression expression;
    expression.parse(formula.c_str(), ok);
    if (diagnostic != nullptr) {
        *diagnostic = expression.diagnostic();
    }
    return expression.evaluate();
}

TEST(Limits, DeepNestingUpToTheLimitCompiles) {
    struct Case {
        std::string formula;
        double expected;
    };
    const Case cases[] = {
        {nested(1000, "(", "2", ")"), 2},
        {nested(max_nesting, "(", "2", ")"), 2},
        {nested(max_nesting, "|", "-2", "|"), 2},
        {nested(max_nesting, "sqrt(", "1", ")"), 1},
        {nested(max_nesting / 2, "(1+(", "1", "))"), max_nesting / 2 + 1.0},
    };
    for (const Case& c : cases) {
        bool ok = false;
        EXPECT_EQ(evaluate(c.formula, ok), c.expected) << c.formula.substr(0, 20);
        EXPECT_TRUE(ok);
    }
}

TEST(Limits, DeeperNestingIsRefusedWithAMessage) {
    for (const char* open : {"(", "|", "exp("}) {
        bool ok = true;
        std::string diagnostic;
        std::string formula = nested(max_nesting + 1, open, "1", ")");
        EXPECT_EQ(evaluate(formula, ok, &diagnostic), 0);
        EXPECT_FALSE(ok);
        EXPECT_NE(diagnostic.find("Nested more than"), std::string::npos) << open;
    }
}

TEST(Limits, NestingFarBeyondTheLimitIsRefusedToo) {
    bool ok = true;
    evaluate(std::string(1000000 / 10, '('), ok);
    EXPECT_FALSE(ok);
}

TEST(Limits, LongChainsCompileAndEvaluate) {
    std::string sum = "1";
    while (sum.size() < max_formula_length - 2) {
        sum += "+1";
    }
    bool ok = false;
    EXPECT_EQ(evaluate(sum, ok), (sum.size() + 1) / 2);
    EXPECT_TRUE(ok);

    std::string power_chain = "x";
    for (int i = 0; i < 5000; ++i) {
        power_chain += "*2^1/2";
    }
    EXPECT_EQ(evaluate(power_chain, ok), 0);
    EXPECT_TRUE(ok);
}

TEST(Limits, ManyDistinctNamesCompile) {
    std::string formula = "n0";
    for (int i = 1; formula.size() < max_formula_length - 10; ++i) {
        formula += "+n" + std::to_string(i);
    }
    bool ok = false;
    EXPECT_EQ(evaluate(formula, ok), 0);
    EXPECT_TRUE(ok);
}

TEST(Limits, TooLongAFormulaIsRefused) {
    std::string formula = "1";
    while (formula.size() <= max_formula_length) {
        formula += "+1";
    }
    bool ok = true;
    std::string diagnostic;
    EXPECT_EQ(evaluate(formula, ok, &diagnostic), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(diagnostic,
              "Formula longer than " + std::to_string(max_formula_length) + " characters.");
}

// Whatever byte stands in a formula, alone or between two operands, the parse comes to a
// verdict: a formula that does not parse says why and is worth 0.
TEST(Limits, EveryByteGetsAVerdict) {
    for (int byte = 1; byte < 256; ++byte) {
        const std::string alone(1, static_cast<char>(byte));
        for (const std::string& formula : {alone, "x" + alone + "1"}) {
            bool ok = true;
            std::string diagnostic;
            const double value = evaluate(formula, ok, &diagnostic);
            if (!ok) {
                EXPECT_EQ(value, 0) << "byte " << byte;
                EXPECT_FALSE(diagnostic.empty()) << "byte " << byte;
            }
        }
    }
}

TEST(Limits, ALineOf118Characters) {
    std::string formula = "sin(|x|^a  + |y|^b)";
    while (formula.size() < 109) {
        formula += "+x";
    }
    formula.resize(109, ' ');
    bool ok = false;
    evaluate(formula, ok);
    EXPECT_TRUE(ok);
}

// Random text built from the formula language's own characters and some others: whatever
// comes, the engine answers.
TEST(Limits, RandomTextNeverCrashes) {
    const std::string alphabet = "xyab12.e+-*/^()|  sin(log(sqrt(#,\t\x80\xff";
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 60);
    for (int round = 0; round < 20000; ++round) {
        std::string formula;
        for (int n = length(random); n > 0; --n) {
            formula += alphabet[pick(random)];
        }
        Expression expression;
        bool ok = false;
        expression.parse(formula.c_str(), ok);
        set_variable("x", -0.5, expression.lexer()->symbols.get());
        expression.evaluate();
        EXPECT_EQ(ok, expression.diagnostic().empty() ||
                          expression.diagnostic().rfind("Domain error: ", 0) == 0)
            << formula;
    }
}

}  // namespace
}  // namespace toven
