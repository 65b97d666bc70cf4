#include "surface/grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace toven {

namespace {

// A point that a plot computes from the box (x1 + j step) misses the node it stands for by a
// few units in the last place of the coordinates. Within this many of them it is that node,
// so a grid drawn at its nodes shows its own values, holes included, and never a mix with a
// neighbour; a point meant to lie between nodes is many orders of magnitude further away.
constexpr double snap_units = 64;

// Where a coordinate falls among the nodes of one axis: on node `index` when `weight` is 0,
// else that fraction of the way from node `index` to node `index` + 1.
struct AxisPlace {
    std::size_t index = 0;
    double weight = 0;
};

std::optional<AxisPlace> place_on_axis(const std::vector<double>& nodes, double t) {
    const double first = nodes.front();
    const double last = nodes.back();
    const double direction = last > first ? 1 : -1;
    const double snap = snap_units * std::numeric_limits<double>::epsilon() *
                        std::max(std::abs(first), std::abs(last));
    const double along = direction * t;
    if (!(along >= direction * first - snap && along <= direction * last + snap)) {
        return std::nullopt;  // outside, or not a number
    }
    const std::size_t last_cell = nodes.size() - 2;
    // Even nodes put t in the cell that this guess names, nodes a little uneven in one beside
    // it; others are searched.
    const double guess = (t - first) / (last - first) * static_cast<double>(last_cell + 1);
    std::size_t cell = guess > 0 ? std::min(last_cell, static_cast<std::size_t>(guess)) : 0;
    const auto beyond = [&](double node) { return direction * node > along; };
    const auto holds = [&](std::size_t c) {
        return !beyond(nodes[c]) && (c == last_cell || beyond(nodes[c + 1]));
    };
    if (!holds(cell)) {
        if (cell > 0 && holds(cell - 1)) {
            --cell;
        } else if (cell < last_cell && holds(cell + 1)) {
            ++cell;
        } else {
            const auto after = std::partition_point(nodes.begin(), nodes.end(),
                                                    [&](double node) { return !beyond(node); });
            const auto index = static_cast<std::size_t>(after - nodes.begin());
            cell = std::min(last_cell, index == 0 ? 0 : index - 1);
        }
    }
    // Nodes closer together than the snap (a grid far from 0 with tiny cells) must still read
    // their own values, so the point snaps to the nearer node of its cell.
    const double to_first = std::abs(t - nodes[cell]);
    const double to_second = std::abs(t - nodes[cell + 1]);
    if (std::min(to_first, to_second) <= snap) {
        return AxisPlace{to_second < to_first ? cell + 1 : cell, 0};
    }
    return AxisPlace{cell, (t - nodes[cell]) / (nodes[cell + 1] - nodes[cell])};
}

// A hole at either end makes a hole. Weighing both ends, rather than adding a share of their
// difference, cannot overflow between two finite values.
double between(double from, double to, double weight) {
    return (1 - weight) * from + weight * to;
}

bool same_value(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

std::optional<std::string> axis_fault(const std::vector<double>& nodes, const char* name) {
    for (const double node : nodes) {
        if (!std::isfinite(node)) {
            return std::string("a value of ") + name + " is not a finite number";
        }
    }
    const bool increasing = nodes[1] > nodes[0];
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        if (increasing ? !(nodes[i] > nodes[i - 1]) : !(nodes[i] < nodes[i - 1])) {
            return std::string("the ") + name + " values are not increasing or decreasing";
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<double> Grid::value_at(double px, double py) const {
    const std::optional<AxisPlace> column = place_on_axis(x, px);
    const std::optional<AxisPlace> row = place_on_axis(y, py);
    if (!column || !row) {
        return std::nullopt;
    }
    const auto along_row = [&](std::size_t i) {
        const double on_node = at(i, column->index);
        return column->weight == 0 ? on_node
                                   : between(on_node, at(i, column->index + 1), column->weight);
    };
    const double near_row = along_row(row->index);
    return row->weight == 0 ? near_row : between(near_row, along_row(row->index + 1), row->weight);
}

std::optional<Grid::Range> Grid::z_range() const {
    std::optional<Range> range;
    for (const double value : z) {
        if (std::isnan(value)) {
            continue;
        }
        if (!range) {
            range = Range{value, value};
        }
        range->low = std::min(range->low, value);
        range->high = std::max(range->high, value);
    }
    return range;
}

bool operator==(const Grid& a, const Grid& b) {
    return a.x == b.x && a.y == b.y &&
           std::equal(a.z.begin(), a.z.end(), b.z.begin(), b.z.end(), same_value);
}

std::optional<std::string> grid_fault(const Grid& grid) {
    if (grid.columns() < 2 || grid.rows() < 2) {
        return "the grid is " + std::to_string(grid.rows()) + " x " +
               std::to_string(grid.columns()) + " values (rows x columns); it needs at least 2 x 2";
    }
    if (grid.z.size() != grid.columns() * grid.rows()) {
        return "the grid has " + std::to_string(grid.z.size()) + " values for " +
               std::to_string(grid.rows()) + " x " + std::to_string(grid.columns()) + " nodes";
    }
    if (auto fault = axis_fault(grid.x, "x")) {
        return fault;
    }
    return axis_fault(grid.y, "y");
}

}  // namespace toven
