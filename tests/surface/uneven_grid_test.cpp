// Uneven grids: when their nodes take the places of the mesh curves, and a check of the page
// against floating horizons worked out here a second time from the nodes alone: each curve on
// the step nearest its node, the steps between two curves running evenly from one node to the
// next, heights straight between the nodes' values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "surface/grid_function.h"
#include "surface/plot_limits.h"
#include "surface/surface_plan.h"
#include "surface/uneven_nodes.h"
#include "surface/visible_point.h"
#include "tests/surface/horizon_walk.h"
#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

using surface_test::PagePoint;

Grid grid_of(const std::vector<double>& x, const std::vector<double>& y) {
    Grid grid{x, y, {}};
    for (const double node_y : y) {
        for (const double node_x : x) {
            grid.z.push_back(0.5 * std::sin(3 * node_x) * std::cos(2 * node_y) +
                             0.6 * std::exp(-4 * (node_x * node_x + node_y * node_y)));
        }
    }
    return grid;
}

// One axis from its end nearest the viewer, `steps` steps long: the nodes, and the step of each.
struct Axis {
    std::vector<double> nodes;
    bool reversed;  // from the grid's last node
    int steps;
    std::vector<int> place{};

    Axis(std::vector<double> grid_nodes, bool from_last, int step_count)
        : nodes(std::move(grid_nodes)), reversed(from_last), steps(step_count) {
        if (reversed) {
            std::reverse(nodes.begin(), nodes.end());
        }
        for (const double node : nodes) {
            place.push_back(static_cast<int>(
                std::lround((node - nodes.front()) / (nodes.back() - nodes.front()) * steps)));
        }
    }
    std::size_t grid_index(std::size_t c) const { return reversed ? nodes.size() - 1 - c : c; }
    double at(int s) const { return nodes.front() + s * (nodes.back() - nodes.front()) / steps; }
    // The curve before step s, and how far on towards the next one the step lies.
    std::pair<std::size_t, double> between(int s) const {
        const auto next = std::upper_bound(place.begin() + 1, place.end() - 1, s);
        const auto c = static_cast<std::size_t>(next - place.begin() - 1);
        return {c, static_cast<double>(s - place[c]) / (place[c + 1] - place[c])};
    }
};

// Sample j of the row (of constant y) or column `c`, counted from the near ends.
struct ExpectedPage {
    const Grid& grid;
    const SurfacePlotter& view;
    Axis x, y;

    PagePoint point(int sx, int sy, double z) const {
        return {view.project_h(x.at(sx), y.at(sy)), view.project_v(x.at(sx), y.at(sy), z)};
    }
    PagePoint on_row(int c, int j) const {
        const auto [l, t] = x.between(j);
        const std::size_t i = y.grid_index(c);
        const double z =
            (1 - t) * grid.at(i, x.grid_index(l)) + t * grid.at(i, x.grid_index(l + 1));
        return point(j, y.place[c], z);
    }
    PagePoint on_column(int c, int j) const {
        const auto [i, t] = y.between(j);
        const std::size_t l = x.grid_index(c);
        const double z =
            (1 - t) * grid.at(y.grid_index(i), l) + t * grid.at(y.grid_index(i + 1), l);
        return point(x.place[c], j, z);
    }
};

// Each node is drawn within a pixel of where it lies, the lines drawn are exactly the visible
// ones, and the readout reads a drawn pixel's point within a pixel or two of it.
TEST(UnevenGrid, DrawsItsCurvesThroughTheNodesWithExactlyTheVisibleLines) {
    std::vector<double> x, y;  // crowded towards -1, a gap of 1/30 of the side at the least
    for (int j = 0; j <= 8; ++j) {
        x.push_back(-1 + 2 * std::pow(j / 8.0, 1.7));
        y.push_back(-1 + 2 * std::pow(j / 8.0, 2));
    }
    const Grid grid = grid_of(x, y);
    for (const double tilt : {25.0, -20.0}) {
        for (const double turn : {0.0, 30.0, 200.0}) {
            SCOPED_TRACE(testing::Message() << "tilt " << tilt << ", turn " << turn);
            const SurfaceRequest request =
                with_grid_nodes({{-1, 1, -1, 1, -0.8, 1.2}, {8, 8, 1}, tilt, {}, turn}, grid);
            surface_test::RecordedSurface surface;
            GridFunction heights(grid);
            ASSERT_EQ(surface.plotter.draw_surface(heights, request), std::nullopt);
            const SurfacePlotter& view = surface.plotter;
            const SampleLattice& lattice = view.drawn_surface->lattice;
            const ExpectedPage page{grid, view, Axis(x, lattice.x1 == 1, lattice.row_steps()),
                                    Axis(y, lattice.y1 == 1, lattice.column_steps())};
            for (int c = 0; c <= 8; ++c) {
                // Both curves through a node evaluate it at the node itself, so they meet there.
                EXPECT_EQ(lattice.row_x(lattice.x_place(c)), page.x.nodes[c]);
                EXPECT_EQ(lattice.column_y(1, lattice.y_place(c)), page.y.nodes[c]);
                for (int i = 0; i <= 8; ++i) {
                    const double nx = page.x.nodes[c], ny = page.y.nodes[i];
                    const auto drawn = page.on_column(c, page.y.place[i]);
                    const platform::Point node =
                        surface.device_point(nx, ny, *grid.value_at(nx, ny));
                    EXPECT_LE(std::abs(view.to_device_x(drawn[0]) - node.x), 1);
                    EXPECT_LE(std::abs(view.to_device_y(drawn[1]) - node.y), 1);
                }
            }
            surface_test::expect_exactly_the_visible_lines(
                view, std::abs((x.back() - x.front()) / page.x.steps * view.cos_rot),
                {9, page.x.steps, [&](int c, int j) { return page.on_row(c, j); }},
                {9, page.y.steps, [&](int c, int j) { return page.on_column(c, j); }},
                *surface.window.log);
            int missed = 0;
            const auto& segments = surface.window.log->segments;
            for (std::size_t s = 0; s < segments.size(); s += 37) {
                const auto read = visible_point(*view.drawn_surface, heights, segments[s].to);
                const platform::Point at =
                    read ? surface_pixel(*view.drawn_surface, *read) : segments[s].to;
                missed += read ? 0 : 1;
                EXPECT_LE(std::abs(at.x - segments[s].to.x) + std::abs(at.y - segments[s].to.y), 2);
            }
            EXPECT_LE(missed, segments.size() / 370);  // a line's end may round beside the surface
        }
    }
}

// Only uneven nodes under the grid's own mesh and box take the curves' places: an even grid
// keeps the even lattice and its page, and so does a grid whose mesh or box the items change.
// Placed nodes keep min_node_steps apart; nodes too close for the limits are refused.
TEST(UnevenGrid, TakesTheNodesOnlyUnderTheGridsOwnMeshAndBox) {
    const std::vector<double> even{0, 0.1, 0.2, 0.3}, uneven{0, 0.1, 0.25, 0.3};
    const struct {
        const char* name;
        std::vector<double> x;
        int m;
        double x1, x2;
        bool placed, refused;
    } cases[] = {
        {"even", even, 3, 0, 0.3, false, false},
        {"uneven", uneven, 3, 0, 0.3, true, false},
        {"uneven, box the other way", uneven, 3, 0.3, 0, true, false},
        {"uneven, box changed", uneven, 3, 0, 0.5, false, false},
        {"uneven, mesh changed", uneven, 6, 0, 0.3, false, false},
        {"nodes too close", {0, 1e-9, 0.3, 0.31}, 3, 0, 0.31, true, true},
    };
    for (const auto& c : cases) {
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
