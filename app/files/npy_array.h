// NumPy's .npy files: the magic "\x93NUMPY", a format version, the length of a header, the
// header (a Python dictionary such as {'descr': '<f8', 'fortran_order': False, 'shape':
// (3, 4), }) and the values. A grid is a two-dimensional array of float64 or float32 of
// either byte order, in C (row by row) or Fortran (column by column) order.
#pragma once

#include <optional>
#include <string_view>

#include "app/files/grid_file.h"
#include "surface/grid.h"

namespace toven {

// Whether `bytes` start with the magic of a .npy file.
bool is_npy(std::string_view bytes);

// Fills `grid` from a .npy file's bytes: row i at y = i, column j at x = j, NaN values as
// holes. Or returns the fault, for the file as a whole (line 0).
std::optional<GridFault> read_npy(std::string_view bytes, Grid& grid);

}  // namespace toven
