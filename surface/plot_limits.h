// Graph data that cannot be plotted. Each check returns nothing when the data can be drawn,
// else a refusal whose message names the value at fault.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/refusal.h"

#include "surface/mesh.h"
#include "surface/sample_lattice.h"
#include "surface/surface_request.h"
#include "surface/surface_view.h"

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

// The checks of a surface, in the order plan_surface makes them (surface_plan.h): what the
// request alone shows (the mesh's counts and size, the curves, the box, the tilt and the
// turn); then, once that passes and the lattice is made, its size; then, with the view, the
// box's extent on the page.
std::optional<platform::Refusal> request_refusal(const SurfaceRequest& request);
std::optional<platform::Refusal> lattice_refusal(const SurfaceRequest& request,
                                                 const SampleLattice& lattice);
std::optional<platform::Refusal> view_refusal(const SurfaceRequest& request,
                                              const SurfaceView& view);

}  // namespace toven
