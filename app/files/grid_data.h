// A grid file loaded as the user's data: its heights stand in for the formula, and the graph
// items take the grid's shape, so that items given after it may still change any of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/app_data.h"
#include "app/files/grid_file.h"
#include "platform/refusal.h"

namespace toven {

struct PlotContext;

// Whether the file at `path` whose bytes are `bytes` is a grid file rather than a data file
// or a picture: a .npy or .xyz name, a NumPy array, or a first line that sets no item.
bool is_grid_content(const std::string& path, std::string_view bytes);

// Keeps the grid and its path in `state` and sets the mesh to the grid's nodes (m and n one
// fewer than its columns and rows, k = 1), x1..x2 and y1..y2 to its first and last nodes and
// z1..z2 to its heights' range. All or nothing: on a refusal `state` is as it was.
std::optional<platform::Refusal> apply_grid(AppData& state, GridFile file);

// The line that the formula panel shows for the grid of `state`: its file's name.
std::string grid_caption(const AppData& state);

// Has `context` draw the grid of `state` in place of the formula, when `state` holds one.
void use_grid(PlotContext& context, const AppData& state);

}  // namespace toven
