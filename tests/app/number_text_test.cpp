#include "app/number_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace toven {
namespace {

struct DecimalCase {
    const char* text;
    NumberFault fault;
    double value;
};

TEST(NumberText, Decimals) {
    const DecimalCase cases[] = {
        {"2.5", NumberFault::none, 2.5}, {" -1e-3\t", NumberFault::none, -1e-3},
        {"+2", NumberFault::none, 2},    {".5", NumberFault::none, 0.5},
        {"7.", NumberFault::none, 7},    {"", NumberFault::form, 0},
        {"1 2", NumberFault::form, 0},   {"0x10", NumberFault::form, 0},
        {"inf", NumberFault::form, 0},   {"1e", NumberFault::form, 0},
        {"+-1", NumberFault::form, 0},   {"1e999", NumberFault::range, 0},
    };
    for (const DecimalCase& c : cases) {
        double value = 0;
        EXPECT_EQ(read_decimal(c.text, value), c.fault) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

struct WholeCase {
    const char* text;
    int low;
    int high;
    NumberFault fault;
    int value;
};

// One rule for items and options alike: a plus sign and blanks are taken everywhere.
TEST(NumberText, WholeNumbers) {
    const WholeCase cases[] = {
        {"+5", 1, 50, NumberFault::none, 5},
        {" 20 ", 1, 50, NumberFault::none, 20},
        {"-2147483648", INT_MIN, INT_MAX, NumberFault::none, INT_MIN},
        {"51", 1, 50, NumberFault::range, 0},
        {"0", 1, 50, NumberFault::range, 0},
        {"99999999999999999999", INT_MIN, INT_MAX, NumberFault::range, 0},
        {"2.5", 1, 50, NumberFault::form, 0},
        {"1e3", 1, 5000, NumberFault::form, 0},
        {"+-1", INT_MIN, INT_MAX, NumberFault::form, 0},
        {"-", INT_MIN, INT_MAX, NumberFault::form, 0},
        {"", 1, 50, NumberFault::form, 0},
    };
    for (const WholeCase& c : cases) {
        int value = 0;
        EXPECT_EQ(read_whole(c.text, c.low, c.high, value), c.fault) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

struct LengthCase {
    const char* text;
    NumberFault fault;
    double points;  // of 1/72 inch
};

TEST(NumberText, LengthsInPointsCentimetresOrMillimetres) {
    const LengthCase cases[] = {
        {"8cm", NumberFault::none, 8 * 72 / 2.54},
        {" 25.4 mm ", NumberFault::none, 72},
        {"72.27pt", NumberFault::none, 72},  // TeX's point
        {"8", NumberFault::form, 0},         // pixels are no length
        {"3in", NumberFault::form, 0},
        {"cm", NumberFault::form, 0},
        {"0cm", NumberFault::range, 0},
        {"-1cm", NumberFault::range, 0},
        {"30cm", NumberFault::range, 0},  // beyond the most asked
    };
    for (const LengthCase& c : cases) {
        double points = 0;
        EXPECT_EQ(read_length(c.text, 800, points), c.fault) << c.text;
        EXPECT_NEAR(points, c.points, 1e-9) << c.text;
    }
}

}  // namespace
}  // namespace toven
