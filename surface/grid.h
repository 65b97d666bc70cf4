// A grid of measured heights: z over the nodes x (the columns) and y (the rows), as a
// matrix of numbers holds them. Row i lies at the i-th y from the first, column j at the
// j-th x from the first; the nodes may be unevenly spaced and run either way. A missing
// value (NaN) is a hole. Between the nodes the surface is the bilinear interpolation of
// its four corners, so along a row or a column it is the straight line between nodes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace toven {

struct Grid {
    std::vector<double> x;  // column nodes, finite, strictly increasing or strictly decreasing
    std::vector<double> y;  // row nodes, likewise
    std::vector<double> z;  // row by row: z[i * columns() + j] lies at (x[j], y[i])

    std::size_t columns() const { return x.size(); }
    std::size_t rows() const { return y.size(); }
    double at(std::size_t row, std::size_t column) const { return z[row * columns() + column]; }

    // The height at (px, py): a node's own value at a node (also where (px, py) misses it
    // by rounding, as a point computed from the box does), the straight line between two
    // nodes on a row or a column, bilinear inside a cell. NaN where a corner it needs is a
    // hole; none outside the nodes' range. Needs a grid without a grid_fault.
    std::optional<double> value_at(double px, double py) const;

    // The lowest and the highest value, holes left out; none when every value is a hole.
    struct Range {
        double low = 0;
        double high = 0;
    };
    std::optional<Range> z_range() const;

    // Equal nodes and equal values, a hole equal to a hole.
    friend bool operator==(const Grid& a, const Grid& b);
};

// Why `grid` is no grid that value_at can read, in words for the person whose file it came
// from ("the x values are not increasing or decreasing"); none when it is one. A grid has at
// least 2 x 2 values and one z per node.
std::optional<std::string> grid_fault(const Grid& grid);

}  // namespace toven
