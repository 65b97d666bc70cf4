#include "surface/uneven_nodes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/programmer_error.h"
#include "surface/plot_limits.h"

namespace toven {

namespace {

// A node this small a share of the box's side away from its even place is on it: the text of
// a header's decimal numbers misses the even places by rounding alone.
constexpr double even_share = 1e-9;

bool same_end(double end, double node, double side) {
    return std::abs(end - node) <= even_share * std::abs(side);
}

// Whether the box's side from `low` to `high` runs from the first node to the last, either way.
bool spans(std::span<const double> nodes, double low, double high) {
    const double side = nodes.back() - nodes.front();
    return (same_end(low, nodes.front(), side) && same_end(high, nodes.back(), side)) ||
           (same_end(low, nodes.back(), side) && same_end(high, nodes.front(), side));
}

bool even(std::span<const double> nodes) {
    const double first = nodes.front();
    const double side = nodes.back() - first;
    const double intervals = static_cast<double>(nodes.size() - 1);
    for (std::size_t i = 1; i + 1 < nodes.size(); ++i) {
        if (!same_end(nodes[i], first + static_cast<double>(i) * side / intervals, side)) {
            return false;
        }
    }
    return true;
}

// The smallest gap between neighbouring nodes, as a share of their whole span.
double smallest_gap_share(std::span<const double> nodes) {
    double gap = std::abs(nodes.back() - nodes.front());
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        gap = std::min(gap, std::abs(nodes[i] - nodes[i - 1]));
    }
    return gap / std::abs(nodes.back() - nodes.front());
}

// The factor on kx and ky: `steps` each way before it, nodes `gap` shares of their span apart.
struct Spacing {
    double steps_x = 0;
    double steps_y = 0;
    double gap_x = 0;
    double gap_y = 0;
};

// The least factor that puts `steps` steps across a side and `apart` steps between nodes.
double factor_for(const Spacing& s, double steps, double apart) {
    return std::max({std::ceil(steps / s.steps_x), std::ceil(steps / s.steps_y),
                     std::ceil(apart / (s.gap_x * s.steps_x)),
                     std::ceil(apart / (s.gap_y * s.steps_y)), 1.0});
}

// The largest factor within max_columns and max_evaluations.
double largest_factor(const SampleLattice& lattice) {
    const double n = lattice.mesh.n;
    const double m = lattice.mesh.m;
    const double rows = m * lattice.kx;
    const double columns = n * lattice.ky;
    const double by_columns = std::floor((static_cast<double>(max_columns) - 1) / (rows + columns));
    const double by_evaluations =
        std::floor((max_evaluations - n - m - 2) / ((n + 1) * rows + (m + 1) * columns));
    return std::max(1.0, std::min(by_columns, by_evaluations));
}

int raising_factor(const SampleLattice& lattice, std::span<const double> node_x,
                   std::span<const double> node_y) {
    const Spacing spacing{static_cast<double>(lattice.row_steps()),
                          static_cast<double>(lattice.column_steps()), smallest_gap_share(node_x),
                          smallest_gap_share(node_y)};
    const double largest = largest_factor(lattice);
    if (factor_for(spacing, 1, 1) > largest) {
        // Nodes closer than a step of the finest lattice allowed: the limits refuse the page.
        return static_cast<int>(largest) + 1;
    }
    return static_cast<int>(
        std::min(factor_for(spacing, min_uneven_steps, min_node_steps), largest));
}

// Each node's step from `from`, `steps` steps running to the other end, in the lattice's order.
std::vector<int> node_places(std::span<const double> nodes, double from, double to, int steps) {
    std::vector<int> places(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        places[i] = static_cast<int>(std::lround((nodes[i] - from) / (to - from) * steps));
    }
    places.front() = 0;
    places.back() = steps;
    return places;
}

// The coordinate each step is evaluated at: straight from one node to the next.
std::vector<double> coordinates_at_steps(std::span<const double> nodes,
                                         const std::vector<int>& places) {
    std::vector<double> at_step(static_cast<std::size_t>(places.back()) + 1);
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        const int width = places[i + 1] - places[i];
        for (int s = 0; s < width; ++s) {
            at_step[static_cast<std::size_t>(places[i] + s)] =
                nodes[i] + s * (nodes[i + 1] - nodes[i]) / width;
        }
    }
    at_step.back() = nodes.back();
    return at_step;
}

// The nodes in the lattice's order, from its x1 (or y1), which a turned view may take from the
// box's other end.
std::vector<double> from_end(std::span<const double> nodes, double end) {
    std::vector<double> ordered(nodes.begin(), nodes.end());
    if (std::abs(nodes.back() - end) < std::abs(nodes.front() - end)) {
        std::reverse(ordered.begin(), ordered.end());
    }
    return ordered;
}

}  // namespace

SurfaceRequest with_grid_nodes(SurfaceRequest request, const Grid& grid) {
    const std::span<const double> x(grid.x);
    const std::span<const double> y(grid.y);
    const auto [x1, x2, y1, y2, z1, z2] = request.box;
    const bool own_mesh = request.mesh.m + 1 == static_cast<int>(x.size()) &&
                          request.mesh.n + 1 == static_cast<int>(y.size());
    if (own_mesh && spans(x, x1, x2) && spans(y, y1, y2) && !(even(x) && even(y))) {
        request.node_x = x;
        request.node_y = y;
    }
    return request;
}

SampleLattice place_nodes(const SampleLattice& lattice, std::span<const double> node_x,
                          std::span<const double> node_y) {
    TOVEN_EXPECT(node_x.size() == static_cast<std::size_t>(lattice.mesh.m) + 1 &&
                     node_y.size() == static_cast<std::size_t>(lattice.mesh.n) + 1,
                 "place_nodes has a node for every mesh curve");
    const int factor = raising_factor(lattice, node_x, node_y);
    SampleLattice placed{lattice.x1,   lattice.x2,          lattice.y1,         lattice.y2,
                         lattice.mesh, lattice.kx * factor, lattice.ky * factor};
    const std::vector<double> xs = from_end(node_x, placed.x1);
    const std::vector<double> ys = from_end(node_y, placed.y1);
    placed.x_places = node_places(xs, xs.front(), xs.back(), placed.row_steps());
    placed.y_places = node_places(ys, ys.front(), ys.back(), placed.column_steps());
    placed.x_at_step = coordinates_at_steps(xs, placed.x_places);
    placed.y_at_step = coordinates_at_steps(ys, placed.y_places);
    return placed;
}

}  // namespace toven
