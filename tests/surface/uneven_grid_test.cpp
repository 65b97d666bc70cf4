// Uneven grids: when their nodes take the places of the mesh curves, and a check of the page
// against floating horizons worked out here a second time from the nodes alone: each curve on
// the step nearest its node, the steps between two curves running evenly from one node to the
// next, heights straight between the nodes' values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "surface/grid_function.h"
#include "surface/plot_limits.h"
#include "surface/uneven_nodes.h"
#include "surface/visible_point.h"
#include "tests/surface/horizon_walk.h"
#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

using surface_test::PagePoint;
using surface_test::RecordedSurface;

double hills(double x, double y) {
    return 0.5 * std::sin(3 * x) * std::cos(2 * y) + 0.6 * std::exp(-4 * (x * x + y * y));
}

Grid grid_of(const std::vector<double>& x, const std::vector<double>& y) {
    Grid grid{x, y, {}};
    for (const double node_y : y) {
        for (const double node_x : x) {
            grid.z.push_back(hills(node_x, node_y));
        }
    }
    return grid;
}

// Nodes crowded towards x = -1 and y = -1, a node gap 1/30 of the box's side at the least.
Grid crowded_grid() {
    std::vector<double> x, y;
    for (int j = 0; j <= 8; ++j) {
        x.push_back(-1 + 2 * std::pow(j / 8.0, 1.7));
    }
    for (int i = 0; i <= 6; ++i) {
        y.push_back(-1 + 2 * std::pow(i / 6.0, 2));
    }
    return grid_of(x, y);
}

const Box box{-1, 1, -1, 1, -0.8, 1.2};

// One axis of the page, from its end nearest the viewer: the step of each node, in that order,
// and where each step lies.
struct Axis {
    std::vector<double> nodes;  // from the near end
    std::vector<int> place;
    bool reversed = false;  // nodes counted from the grid's last
    double start = 0;
    double step = 0;

    Axis(std::vector<double> grid_nodes, bool from_first, int steps)
        : nodes(std::move(grid_nodes)), reversed(!from_first) {
        if (reversed) {
            std::reverse(nodes.begin(), nodes.end());
        }
        start = nodes.front();
        step = (nodes.back() - start) / steps;
        for (const double node : nodes) {
            place.push_back(static_cast<int>(std::lround((node - start) / step)));
        }
    }
    std::size_t grid_index(std::size_t c) const { return reversed ? nodes.size() - 1 - c : c; }
    // The curve before step s and how far on towards the next the step lies.
    std::pair<std::size_t, double> between(int s) const {
        std::size_t c = 0;
        while (c + 2 < place.size() && place[c + 1] <= s) {
            ++c;
        }
        return {c, static_cast<double>(s - place[c]) / (place[c + 1] - place[c])};
    }
};

// The page's points of both families, from the near ends: a row of constant y at y step `c`
// (a node's place) sampled at x step j, or a column likewise.
struct ExpectedPage {
    const Grid& grid;
    const SurfacePlotter& view;
    Axis x, y;

    PagePoint point(int sx, int sy, double z) const {
        const double px = x.start + sx * x.step, py = y.start + sy * y.step;
        return {view.project_h(px, py), view.project_v(px, py, z)};
    }
    PagePoint on_row(std::size_t row, int j) const {
        const auto [c, t] = x.between(j);
        const std::size_t i = y.grid_index(row);
        const double z =
            (1 - t) * grid.at(i, x.grid_index(c)) + t * grid.at(i, x.grid_index(c + 1));
        return point(j, y.place[row], z);
    }
    PagePoint on_column(std::size_t column, int j) const {
        const auto [c, t] = y.between(j);
        const std::size_t l = x.grid_index(column);
        const double z =
            (1 - t) * grid.at(y.grid_index(c), l) + t * grid.at(y.grid_index(c + 1), l);
        return point(x.place[column], j, z);
    }
};

// Each node is drawn within a pixel of where it lies, every pixel drawn lies within a pixel of
// a visible run, and every visible run longer than two pixels is drawn but for a pixel or two
// at its ends.
TEST(UnevenGrid, DrawsItsCurvesThroughTheNodesWithExactlyTheVisibleLines) {
    const Grid grid = crowded_grid();
    for (const double tilt : {25.0, -20.0}) {
        for (const double turn : {0.0, 30.0, 200.0}) {
            SCOPED_TRACE(testing::Message() << "tilt " << tilt << ", turn " << turn);
            const SurfaceRequest request =
                with_grid_nodes({box, {6, 8, 1}, tilt, CurveChoice::both, turn}, grid);
            ASSERT_FALSE(request.node_x.empty());
            RecordedSurface surface;
            GridFunction heights(grid);
            ASSERT_EQ(surface.plotter.draw_surface(heights, request), std::nullopt);
            const SurfacePlotter& view = surface.plotter;
            const SampleLattice& lattice = view.drawn_surface->lattice;
            const ExpectedPage page{grid, view,
                                    Axis(grid.x, lattice.x1 == box.x1, lattice.row_steps()),
                                    Axis(grid.y, lattice.y1 == box.y1, lattice.column_steps())};
            // Both curves through a node evaluate it at the node itself, so they meet there.
            for (int l = 0; l <= lattice.mesh.m; ++l) {
                EXPECT_EQ(lattice.column_x(l), page.x.nodes[l]);
                EXPECT_EQ(lattice.row_x(lattice.x_place(l)), page.x.nodes[l]);
            }
            for (int i = 0; i <= lattice.mesh.n; ++i) {
                EXPECT_EQ(lattice.row_y(i), page.y.nodes[i]);
                EXPECT_EQ(lattice.column_y(1, lattice.y_place(i)), page.y.nodes[i]);
            }
            for (std::size_t l = 0; l < grid.columns(); ++l) {
                for (std::size_t i = 0; i < grid.rows(); ++i) {
                    const auto drawn = page.on_column(l, page.y.place[i]);
                    const double x = page.x.nodes[l], y = page.y.nodes[i];
                    const platform::Point node =
                        surface.device_point(x, y, grid.value_at(x, y).value());
                    EXPECT_LE(std::abs(view.to_device_x(drawn[0]) - node.x), 1);
                    EXPECT_LE(std::abs(view.to_device_y(drawn[1]) - node.y), 1);
                }
            }
            // The readout reads nearly every drawn pixel's point where it lies, a pixel or two
            // away at most; a line's end may round to a pixel beside the surface.
            int read = 0;
            int missed = 0;
            for (std::size_t s = 0; s < surface.window.log->segments.size(); s += 37) {
                const platform::Point end = surface.window.log->segments[s].to;
                const auto point = visible_point(*view.drawn_surface, heights, end);
                ++read;
                if (!point) {
                    ++missed;
                    continue;
                }
                const platform::Point pixel = surface_pixel(*view.drawn_surface, *point);
                EXPECT_LE(std::abs(pixel.x - end.x) + std::abs(pixel.y - end.y), 2);
            }
            EXPECT_LE(missed, read / 10) << read;
            const auto rows = static_cast<int>(grid.rows());
            const auto columns = static_cast<int>(grid.columns());
            surface_test::expect_exactly_the_visible_lines(
                view, std::abs(page.x.step * view.cos_rot),
                {rows, page.x.place.back(), [&](int r, int j) { return page.on_row(r, j); }},
                {columns, page.y.place.back(), [&](int l, int j) { return page.on_column(l, j); }},
                *surface.window.log);
        }
    }
}

// Only uneven nodes under the grid's own mesh and box take the curves' places: an even grid
// keeps the even lattice and its page, and so does a grid whose mesh or box the items change.
// Placed nodes keep distinct, increasing steps; nodes too close for the limits are refused.
TEST(UnevenGrid, TakesTheNodesOnlyUnderTheGridsOwnMeshAndBox) {
    const std::vector<double> even{0, 0.1, 0.2, 0.3}, uneven{0, 0.1, 0.25, 0.3};
    struct Case {
        const char* name;
        std::vector<double> x;
        int m;
        double x1, x2;
        bool placed;
        bool refused;
    } cases[] = {
        {"even", even, 3, 0, 0.3, false, false},
        {"uneven", uneven, 3, 0, 0.3, true, false},
        {"uneven, box the other way", uneven, 3, 0.3, 0, true, false},
        {"uneven, box changed", uneven, 3, 0, 0.5, false, false},
        {"uneven, mesh changed", uneven, 6, 0, 0.3, false, false},
        {"nodes too close", {0, 1e-9, 0.3, 0.31}, 3, 0, 0.31, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Grid grid = grid_of(c.x, {2, 3});
        const SurfaceRequest request =
            with_grid_nodes({{c.x1, c.x2, 2, 3, -1, 1}, {1, c.m, 1}, 20}, grid);
        EXPECT_EQ(!request.node_x.empty(), c.placed);
        EXPECT_EQ(surface_refusal(request).has_value(), c.refused);
        if (c.placed && !c.refused) {
            const SampleLattice lattice = make_lattice(request);
            EXPECT_GE(lattice.row_steps(), min_uneven_steps);
            for (int l = 1; l <= c.m; ++l) {
                EXPECT_GE(lattice.x_place(l) - lattice.x_place(l - 1), min_node_steps);
            }
        }
    }
}

}  // namespace
}  // namespace toven
