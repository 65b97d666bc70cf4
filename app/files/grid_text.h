// The two text formats of grid files: a matrix of numbers (with or without a row of x and a
// column of y values) and x y z lines. Both are read in one pass over the text, without a
// string per line or per value.
#pragma once

#include <optional>
#include <string_view>

#include "app/files/grid_file.h"

namespace toven {

// Fills file.format and file.grid from `text`, or returns the fault. `triples` reads the
// text as x y z lines whatever it looks like; otherwise three columns whose first two fill
// a grid are x y z lines, and any other text is a matrix.
std::optional<GridFault> read_grid_text(std::string_view text, bool triples, GridFile& file);

}  // namespace toven
