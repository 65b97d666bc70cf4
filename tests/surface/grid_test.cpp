// A grid of measured heights: its value at a point, its range, its faults, and the function
// the drawing samples.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "surface/grid.h"
#include "surface/grid_function.h"
#include "surface/sample_lattice.h"
#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

constexpr double hole = std::numeric_limits<double>::quiet_NaN();

// Uneven x, decreasing y, and a hole at (3, 1).
Grid uneven_grid() {
    return Grid{{0, 1, 3},
                {2, 1, 0},
                {
                    0, 10, 30,    // y = 2
                    1, 11, hole,  // y = 1
                    2, 12, 32,    // y = 0
                }};
}

TEST(Grid, ValueAtAPoint) {
    struct Case {
        const char* name;
        double x, y;
        std::optional<double> expected;  // NaN: a hole
    };
    const Case cases[] = {
        {"a node", 1, 2, 10},
        {"a node beside a hole", 1, 1, 11},
        {"a node below a hole", 3, 0, 32},
        {"on a row, in an uneven cell", 2, 2, 20},
        {"on a column, decreasing y", 0, 1.5, 0.5},
        {"inside a cell", 0.5, 1.5, 5.5},
        {"on a row towards a hole", 2, 1, hole},
        {"in a cell with a hole corner", 2, 0.5, hole},
        {"past the last x by rounding", 3 + 4e-16, 0, 32},
        {"past the first y by rounding", 1, 2 + 4e-16, 10},
        {"outside in x", 3.5, 1, std::nullopt},
        {"outside in y", 1, -0.1, std::nullopt},
        {"not a number", hole, 1, std::nullopt},
    };
    const Grid grid = uneven_grid();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> value = grid.value_at(c.x, c.y);
        ASSERT_EQ(value.has_value(), c.expected.has_value());
        if (c.expected && std::isnan(*c.expected)) {
            EXPECT_TRUE(std::isnan(*value)) << *value;
        } else if (c.expected) {
            EXPECT_DOUBLE_EQ(*value, *c.expected);
        }
    }
}

// Far from 0 the snap to a node spans whole cells; each node must still read its own value.
TEST(Grid, NodesCloserThanTheSnapReadTheirOwnValues) {
    const Grid grid{{0, 1}, {1.44e20, 90, 62}, {0, 2, 3, 1, 1, 4}};
    for (std::size_t i = 0; i < grid.rows(); ++i) {
        EXPECT_EQ(grid.value_at(1, grid.y[i]), grid.at(i, 1)) << "y = " << grid.y[i];
    }
}

// z = 3x - 2y + xy/2 is bilinear: a grid of it reads it exactly, at the nodes and between.
double bilinear(double x, double y) {
    return 3 * x - 2 * y + 0.5 * x * y;
}

// The grid's reading at a point of the drawing that lies `u` nodes from x1 and `t` from y1,
// with a hole at row 0, column 1: NaN on the lines that end at the hole, the node's own value
// at a node, the straight line elsewhere.
void expect_reading(const Grid& grid, double x, double y, double u, double t) {
    const double value = GridFunction(grid).evaluate(x, y);
    const bool by_hole = (t == 0 && u > 0 && u < 2) || (u == 1 && t < 1);
    if (by_hole) {
        EXPECT_TRUE(std::isnan(value)) << u << " " << t;
    } else if (u == std::round(u) && t == std::round(t)) {
        EXPECT_EQ(value, grid.at(static_cast<std::size_t>(t), static_cast<std::size_t>(u)));
    } else {
        EXPECT_NEAR(value, bilinear(x, y), 1e-9 * (1 + std::abs(bilinear(x, y)))) << u << " " << t;
    }
}

// The drawing computes its points from the box (x1 + j step), which misses a node by
// rounding: it must still read the node's own value, never a mix with a neighbour's hole.
TEST(GridFunction, ReadsNodesAndLinesWhereTheDrawingSamples) {
    struct Case {
        const char* name;
        double x1, x2, y1, y2;
        int m, n, k;
    };
    const Case cases[] = {
        {"default box, at the nodes", -1, 1, -1, 1, 40, 20, 1},
        {"tenths, three steps a cell", 0.1, 0.7, -0.3, 0.9, 6, 12, 3},
        {"reversed and far from 0", 1e6 + 1, 1e6, 5, 2, 7, 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid grid;
        for (int j = 0; j <= c.m; ++j) {
            grid.x.push_back(c.x1 + j * ((c.x2 - c.x1) / c.m));
        }
        for (int i = 0; i <= c.n; ++i) {
            grid.y.push_back(c.y1 + i * ((c.y2 - c.y1) / c.n));
        }
        for (const double y : grid.y) {
            for (const double x : grid.x) {
                grid.z.push_back(bilinear(x, y));
            }
        }
        grid.z[1] = hole;
        ASSERT_FALSE(grid_fault(grid));
        const SampleLattice lattice{c.x1, c.x2, c.y1, c.y2, {c.n, c.m, c.k}};
        const int mk = c.m * c.k;
        const int nk = c.n * c.k;
        const double k = c.k;
        for (int i = 0; i <= c.n; ++i) {
            for (int j = 0; j <= mk; ++j) {
                expect_reading(grid, c.x1 + j * lattice.step_dx, c.y1 + i * lattice.mesh_dy, j / k,
                               i);
            }
        }
        for (int l = 0; l <= c.m; ++l) {
            for (int j = 0; j <= nk; ++j) {
                expect_reading(grid, c.x1 + l * lattice.mesh_dx, c.y1 + j * lattice.step_dy, l,
                               j / k);
            }
        }
        for (int i = 0; i <= nk; ++i) {
            expect_reading(grid, c.x1, c.y2 - i * lattice.step_dy, 0, (nk - i) / k);
        }
        EXPECT_TRUE(std::isnan(GridFunction(grid).evaluate(c.x2 + (c.x2 - c.x1), c.y1)));
    }
}

// At k = 1 the drawing samples the nodes alone: a grid of a function's values there, holes
// included, draws the very segments of the function. The box's steps are binary fractions, so
// both drawings evaluate at the same points.
TEST(GridFunction, DrawsAsTheFunctionOfItsNodesAtOneStep) {
    const auto f = [](double x, double y) {
        return x == 0.5 && y == -1 ? hole : std::sin(x * x + y * y * y) / 2;
    };
    const Mesh mesh{16, 32, 1};
    Grid grid;
    for (int j = 0; j <= mesh.m; ++j) {
        grid.x.push_back(-2 + j * 0.125);
    }
    for (int i = 0; i <= mesh.n; ++i) {
        grid.y.push_back(-2 + i * 0.25);
    }
    for (const double y : grid.y) {
        for (const double x : grid.x) {
            grid.z.push_back(f(x, y));
        }
    }
    surface_test::CountingFunction formula(f);
    GridFunction of_grid(grid);
    surface_test::RecordedSurface formula_page;
    surface_test::RecordedSurface grid_page;
    const SurfaceRequest request{{-2, 2, -2, 2, -1, 1}, mesh, 25};
    ASSERT_FALSE(formula_page.plotter.draw_surface(formula, request));
    ASSERT_FALSE(grid_page.plotter.draw_surface(of_grid, request));
    EXPECT_GT(formula_page.window.log->segments.size(), 500u);
    EXPECT_EQ(grid_page.window.log->segments, formula_page.window.log->segments);
}

TEST(Grid, RangeLeavesHolesOut) {
    EXPECT_EQ(uneven_grid().z_range()->low, 0);
    EXPECT_EQ(uneven_grid().z_range()->high, 32);
    const Grid holes{{0, 1}, {0, 1}, {hole, -4, hole, -7}};
    EXPECT_EQ(holes.z_range()->low, -7);
    EXPECT_EQ(holes.z_range()->high, -4);
    EXPECT_FALSE((Grid{{0, 1}, {0, 1}, {hole, hole, hole, hole}}.z_range()));
}

TEST(Grid, HoleEqualsHole) {
    EXPECT_EQ(uneven_grid(), uneven_grid());
    Grid other = uneven_grid();
    other.z[5] = 0;
    EXPECT_NE(uneven_grid(), other);
}

TEST(Grid, Faults) {
    struct Case {
        const char* name;
        Grid grid;
        const char* fault;  // null: none
    };
    const Case cases[] = {
        {"two by two", {{0, 1}, {1, 0}, {1, 2, 3, 4}}, nullptr},
        {"one row",
         {{0, 1, 2}, {0}, {1, 2, 3}},
         "the grid is 1 x 3 values (rows x columns); it needs at least 2 x 2"},
        {"values short", {{0, 1}, {0, 1}, {1, 2, 3}}, "the grid has 3 values for 2 x 2 nodes"},
        {"x turns back",
         {{0, 2, 1}, {0, 1}, {1, 2, 3, 4, 5, 6}},
         "the x values are not increasing or decreasing"},
        {"y repeats",
         {{0, 1}, {1, 1}, {1, 2, 3, 4}},
         "the y values are not increasing or decreasing"},
        {"infinite y",
         {{0, 1}, {0, HUGE_VAL}, {1, 2, 3, 4}},
         "a value of y is not a finite number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(grid_fault(c.grid).value_or("(none)"), c.fault ? c.fault : "(none)");
    }
}

}  // namespace
}  // namespace toven
