// Grid files: a surface measured at the nodes of a grid, in one of three formats, told apart
// by their content and by the extension:
//  - a matrix of numbers, one row a line, separated by blanks or by commas (when the first
//    line holds a comma; one that ends every line is ignored). Row i lies at the i-th y, column j
//    at the j-th x, from 0 up. A first row of x values and a first column of y values may give the
//    nodes; their corner is then empty, text, or the number of x values, which is ignored. (So a
//    matrix whose very first value is missing writes nan there, not an empty cell.)
//  - x y z lines whose points fill a regular grid: blocks of constant y, or any order. The
//    nodes run as the file first gives them, or increasing when that order is not monotone.
//    A file named *.xyz is always read so.
//  - a NumPy .npy array of two dimensions, float64 or float32, in C or Fortran order: row i
//    at y = i, column j at x = j.
// "#" starts a comment and blank lines are skipped; a first line of column names, quoted or
// not, is skipped. Names over an empty corner, or one fewer than the values, leave a first
// column of y values (the rows' names, as R and pandas write them) and x at 0 up. nan, NaN, NA,
// "-" and an empty cell are missing values: holes in the grid.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/refusal.h"
#include "surface/grid.h"

namespace toven {

// Data files and pictures stop at the same size (app/data_file.cpp). A matrix this large
// holds at most 128 million values, fewer than the 150 million nodes that the plot's bound
// on evaluations allows at k = 1; reading one takes a few times its size in memory.
inline constexpr std::size_t max_grid_file_size = 256 * 1024 * 1024;

enum class GridFormat { matrix, triples, npy };

struct GridFile {
    std::string path;
    GridFormat format = GridFormat::matrix;
    Grid grid;  // has no grid_fault and at least one value that is not a hole
};

// What is wrong with a grid file's content, on which line (from 1; 0 for the file as a
// whole).
struct GridFault {
    int line = 0;
    std::string message;
};

// The grid of the file at `path`, or the refusal that names the file and, where one is at
// fault, the line. The file is read whole, once; one that cannot be read, is no ordinary
// file or is larger than max_grid_file_size is refused.
std::variant<GridFile, platform::Refusal> read_grid_file(const std::string& path);

// The same for a file's bytes already read; `path` names it in messages and gives the
// extension.
std::variant<GridFile, platform::Refusal> read_grid(const std::string& path,
                                                    std::string_view bytes);

}  // namespace toven
