// Graph data that cannot be plotted. Each check returns nothing when the data can be drawn,
// else a refusal whose message names the value at fault.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/refusal.h"

#include "surface/mesh.h"
#include "surface/surface_request.h"

namespace toven {

// The two horizon arrays hold one double per page column, 16 bytes a column in all: four
// million columns cost 64 MB, a thousand times more columns than a page has pixels. The
// heights take at most 24 bytes a column more: the two front edges together, and two bands
// of at least one curve each, none longer than the columns.
inline constexpr std::int64_t max_columns = 4'000'000;

// A plot runs inside one window message, so the program cannot answer while it draws. No
// evaluation with its share of the drawing takes less than about 10 ns, even of f = 0: 300
// million evaluations would take 3 s whatever the formula, so such a mesh is refused before
// any is timed. Below it the measured work of plot_work.h decides.
inline constexpr double max_evaluations = 300'000'000;

// Counts below 1 in the mesh, and a box whose base is flat in x or in y: what neither a page
// nor a solid can be made of.
std::optional<platform::Refusal> mesh_count_refusal(const Mesh& mesh);
std::optional<platform::Refusal> flat_base_refusal(const Box& box);

// (n + m) k + 1: the page columns of the mesh, that is the entries of each horizon array.
double column_count(const Mesh& mesh);
// 2nmk + (n + m)k + n + m + 2: the evaluations of f(x,y) that one surface takes, each sample
// of its n + 1 rows and m + 1 columns once.
double evaluation_count(const Mesh& mesh);

// Why the surface cannot be drawn, or nothing.
std::optional<platform::Refusal> surface_refusal(const SurfaceRequest& request);

}  // namespace toven
