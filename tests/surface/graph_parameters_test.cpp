#include "surface/graph_parameters.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "tests/support/test_tables.h"

namespace toven {
namespace {

TEST(GraphParametersTest, DefaultsLoad) {
    const GraphParameters p = load_graph_parameters(test_support::default_sdata());
    EXPECT_EQ(p.box(), (Box{-1, 1, -1, 1, -0.2, 1.2}));
    EXPECT_EQ(p.n, 20);
    EXPECT_EQ(p.m, 40);
    EXPECT_EQ(p.k, 20);
    EXPECT_EQ(p.tilt, 15);
    EXPECT_EQ(p.pc, 13);
    EXPECT_EQ(p.fc, 0);
    EXPECT_EQ(p.ax, 0);
    EXPECT_EQ(p.title, "");
}

TEST(GraphParametersTest, ConvertsByTheCLibraryRules) {
    DataTable sdata = test_support::default_sdata();
    const char* values[][2] = {{"n", "2.9"},         {"x1", "abc"}, {"tilt", "30deg"},
                               {"x2", "  1e1"},      {"m", "-3"},   {"pc", "99999999999999"},
                               {"title", "my title"}};
    for (const auto& [name, value] : values) {
        ASSERT_TRUE(test_support::set_item(sdata, name, value)) << name;
    }
    set_line(sdata[record_number("k")], "k");  // shorter than its prefix: an empty value
    const GraphParameters p = load_graph_parameters(sdata);
    EXPECT_EQ(p.n, 2);
    EXPECT_EQ(p.x1, 0);
    EXPECT_EQ(p.tilt, 30);
    EXPECT_EQ(p.x2, 10);
    EXPECT_EQ(p.m, -3);
    EXPECT_EQ(p.pc, INT_MAX);
    EXPECT_EQ(p.k, 0);
    EXPECT_EQ(p.title, "my title");
}

TEST(GraphParametersTest, CurvesChoice) {
    const std::pair<const char*, CurveChoice> cases[] = {
        {"both", CurveChoice::both}, {" x ", CurveChoice::along_x}, {"y", CurveChoice::along_y},
        {"", CurveChoice::both},     {"X", CurveChoice::unknown},   {"xy", CurveChoice::unknown},
    };
    for (const auto& [value, curves] : cases) {
        DataTable sdata = test_support::default_sdata();
        ASSERT_TRUE(test_support::set_item(sdata, "curves", value)) << value;
        EXPECT_EQ(load_graph_parameters(sdata).curves, curves) << value;
    }
}

}  // namespace
}  // namespace toven
