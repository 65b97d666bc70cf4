// x y z lines as a grid: the distinct x values are its columns, the distinct y values its
// rows, and every node must be given exactly once.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "app/files/grid_file.h"
#include "surface/grid.h"

namespace toven {

// The values of the lines, three a line (x, y, z; a missing z is NaN), and the line of each.
struct TripleLines {
    const std::vector<double>& values;
    const std::vector<int>& lines;
};

// Fills `grid` from the lines, or returns why they fill none. Lines given row by row (x
// running fastest, as blocks of constant y) or column by column are read in one pass and
// keep the file's order of nodes; any other order is hashed, and its nodes run increasing
// unless the file's first order runs one way. `looks_like_triples` is set when both x and y
// repeat, as in every grid of two rows and columns at least: a fault then belongs to x y z
// lines rather than to three columns of a matrix.
std::optional<GridFault> triples_grid(const TripleLines& lines, Grid& grid,
                                      bool& looks_like_triples);

}  // namespace toven
