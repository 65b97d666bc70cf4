#include "surface/graph_parameters.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/scoped_plot_state.h"
#include "tests/support/test_tables.h"

namespace toven {
namespace {

class GraphParametersTest : public testing::Test {
  protected:
    void set_value(int record, const char* value) {
        sdata[record] = make_record(sdata[record].name, value);
    }

    test_support::ScopedPlotState plot_state;
    DataTable sdata = test_support::default_sdata();
};

TEST_F(GraphParametersTest, DefaultsLoad) {
    load_graph_parameters(sdata);
    const GraphParameters& p = graph_parameters;
    EXPECT_EQ(p.x1, -1);
    EXPECT_EQ(p.x2, 1);
    EXPECT_EQ(p.y1, -1);
    EXPECT_EQ(p.y2, 1);
    EXPECT_EQ(p.z1, -0.2);
    EXPECT_EQ(p.z2, 1.2);
    EXPECT_EQ(p.n, 20);
    EXPECT_EQ(p.m, 40);
    EXPECT_EQ(p.k, 20);
    EXPECT_EQ(p.tilt, 15);
    EXPECT_EQ(p.pc, 13);
    EXPECT_EQ(p.fc, 0);
    EXPECT_EQ(p.ax, 0);
    EXPECT_EQ(p.title, "");
}

TEST_F(GraphParametersTest, ConvertsByTheCLibraryRules) {
    set_value(7, "2.9");
    set_value(1, "abc");
    set_value(10, "30deg");
    set_value(2, "  1e1");
    set_value(8, "-3");
    set_value(11, "99999999999999");
    set_value(14, "my title");
    load_graph_parameters(sdata);
    const GraphParameters& p = graph_parameters;
    EXPECT_EQ(p.n, 2);
    EXPECT_EQ(p.x1, 0);
    EXPECT_EQ(p.tilt, 30);
    EXPECT_EQ(p.x2, 10);
    EXPECT_EQ(p.m, -3);
    EXPECT_EQ(p.pc, INT_MAX);
    EXPECT_EQ(p.title, "my title");
}

TEST_F(GraphParametersTest, AnEmptyLineGivesZero) {
    set_line(sdata[9], "k");
    load_graph_parameters(sdata);
    EXPECT_EQ(graph_parameters.k, 0);
}

TEST_F(GraphParametersTest, EachLoadOverwrites) {
    set_value(10, "45");
    load_graph_parameters(sdata);
    EXPECT_EQ(graph_parameters.tilt, 45);
    sdata = test_support::default_sdata();
    load_graph_parameters(sdata);
    EXPECT_EQ(graph_parameters.tilt, 15);
}

}  // namespace
}  // namespace toven
