#include "expr/lexer.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace toven {
namespace {

std::vector<TokenKind> kinds_of(const char* formula) {
    Lexer lexer(formula);
    std::vector<TokenKind> kinds;
    for (int guard = 0; guard < 100; ++guard) {
        kinds.push_back(lexer.kind);
        if (lexer.kind == End) {
            break;
        }
        lexer.advance();
    }
    return kinds;
}

TEST(Lexer, TokenKindsKeepTheirNumbers) {
    EXPECT_EQ(Bad, 0);
    EXPECT_EQ(End, 1);
    EXPECT_EQ(Name, 2);
    EXPECT_EQ(Number, 3);
    EXPECT_EQ(Plus, 4);
    EXPECT_EQ(Minus, 5);
    EXPECT_EQ(Times, 6);
    EXPECT_EQ(Divide, 7);
    EXPECT_EQ(Power, 8);
    EXPECT_EQ(LeftParen, 9);
    EXPECT_EQ(RightParen, 10);
    EXPECT_EQ(Bar, 11);
}

struct ScanCase {
    const char* label;
    const char* formula;
    std::vector<TokenKind> kinds;

    friend void PrintTo(const ScanCase& row, std::ostream* out) { *out << row.formula; }
};

class LexerScan : public testing::TestWithParam<ScanCase> {};

TEST_P(LexerScan, YieldsTheTokens) {
    EXPECT_EQ(kinds_of(GetParam().formula), GetParam().kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LexerScan,
    testing::Values(ScanCase{"empty", "", {End}}, ScanCase{"blanks", "  \t ", {End}},
                    ScanCase{"tab_is_blank", "x\t+ y", {Name, Plus, Name, End}},
                    ScanCase{"operators",
                             "+-*/^()|",
                             {Plus, Minus, Times, Divide, Power, LeftParen, RightParen, Bar, End}},
                    ScanCase{"implicit_product", "2x", {Number, Name, End}},
                    ScanCase{"second_point", "1.2.3", {Number, Number, End}},
                    ScanCase{"underscore", "a_b", {Name, Bad, Name, End}},
                    ScanCase{"newline_is_illegal", "x\n", {Name, Bad, End}},
                    ScanCase{"high_byte", "\xc3\xa9", {Bad, Bad, End}},
                    ScanCase{"signed_number", "-5", {Minus, Number, End}}),
    [](const testing::TestParamInfo<ScanCase>& row) { return row.param.label; });

struct NumberCase {
    const char* text;
    double value;
    bool ok;
};

TEST(Lexer, ScansNumbersAsStrtodReadsThem) {
    const NumberCase cases[] = {
        {"3.", 3, true},     {".5", 0.5, true},   {"5e2", 500, true}, {"2.5e-3", 2.5e-3, true},
        {"1.e5", 1e5, true}, {"1E+2", 100, true}, {"1e", 1, false},   {"1e+", 1, false},
        {".", 0, false},     {".e5", 0, false},   {"0.1", 0.1, true}, {"1e400", HUGE_VAL, true},
    };
    for (const NumberCase& c : cases) {
        Lexer lexer(c.text);
        EXPECT_EQ(lexer.kind, Number) << c.text;
        EXPECT_EQ(lexer.value, c.value) << c.text;
        EXPECT_EQ(lexer.ok, c.ok) << c.text;
        if (!c.ok) {
            EXPECT_EQ(lexer.diagnostic(), std::string(c.text) + "  Error in number.");
        }
    }
}

TEST(Lexer, NamesEnterTheSymbolTableWithValueZero) {
    Lexer lexer("sin");
    ASSERT_EQ(lexer.kind, Name);
    EXPECT_EQ(lexer.symbol->name, "sin");
    EXPECT_EQ(lexer.symbol->value, 0);
    EXPECT_EQ(lexer.symbols.get(), lexer.symbol);
}

TEST(Lexer, SameNameGivesTheSameSymbolAndCaseCounts) {
    Lexer lexer("ab A ab");
    Symbol* first = lexer.symbol;
    lexer.advance();
    Symbol* capital = lexer.symbol;
    lexer.advance();
    EXPECT_EQ(lexer.symbol, first);
    EXPECT_NE(capital, first);
    EXPECT_EQ(lexer.text, "ab");
}

TEST(Lexer, DiagnosticIncludesTheCharacterAfterTheFault) {
    Lexer lexer("2#x");
    lexer.advance();
    EXPECT_FALSE(lexer.ok);
    EXPECT_EQ(lexer.diagnostic(), "2#x  Illegal character.");
}

TEST(Lexer, DiagnosticLeavesOutTheTerminator) {
    Lexer lexer("x,");
    lexer.advance();
    EXPECT_EQ(lexer.diagnostic(), "x,  Illegal character.");
}

TEST(Lexer, OnlyTheFirstErrorCounts) {
    Lexer lexer("a_b,1e");
    while (lexer.kind != End) {
        lexer.advance();
    }
    EXPECT_EQ(lexer.diagnostic(), "a_b  Illegal character.");
    lexer.report("Syntax error");
    EXPECT_EQ(lexer.diagnostic(), "a_b  Illegal character.");
}

TEST(Lexer, EndRepeats) {
    Lexer lexer("x");
    lexer.advance();
    lexer.advance();
    lexer.advance();
    EXPECT_EQ(lexer.kind, End);
    EXPECT_EQ(*lexer.position, '\0');
}

TEST(Lexer, KeepsAnOverlongNameWhole) {
    std::string name(5000, 'q');
    Lexer lexer(name.c_str());
    EXPECT_EQ(lexer.kind, Name);
    EXPECT_EQ(lexer.symbol->name, name);
}

TEST(Lexer, ReadsAnOverlongNumberWhole) {
    std::string digits = "0." + std::string(5000, '0') + "1e5001";
    Lexer lexer(digits.c_str());
    EXPECT_TRUE(lexer.ok);
    EXPECT_DOUBLE_EQ(lexer.value, 1.0);
}

}  // namespace
}  // namespace toven
