// A grid's unevenly spaced nodes on the sample lattice. The hidden-line drawing needs every
// sample on a page column, so every sample lies on the lattice's even steps; each mesh curve is
// drawn on the step nearest its node, on a lattice fine enough that this moves it by less than
// a pixel and keeps distinct nodes on distinct steps.
#pragma once

#include <span>

#include "surface/grid.h"
#include "surface/sample_lattice.h"
#include "surface/surface_request.h"

namespace toven {

// The lattice of uneven nodes spans at least this many steps each way: a curve is drawn at
// most half a step from its node, a 4000th of the box's side, within a pixel on pages far
// larger than a screen.
inline constexpr int min_uneven_steps = 4000;
// Neighbouring nodes lie at least this many steps apart where the limits allow; one is the
// least that keeps them on distinct steps.
inline constexpr int min_node_steps = 2;

// `request` drawing the grid's mesh curves at their nodes, when the nodes are uneven and the
// mesh and the box are the grid's own (m = columns - 1, n = rows - 1, the box from the first
// node to the last, either way round); else `request` as it is, drawn on the even lattice. The
// request then refers to the grid's nodes, so `grid` must outlive it.
SurfaceRequest with_grid_nodes(SurfaceRequest request, const Grid& grid);

// `lattice` with its curves placed at the nodes: kx and ky raised by one common factor (which
// keeps a turned view's angle) until each family spans min_uneven_steps and neighbouring nodes
// lie min_node_steps apart, as far as max_columns and max_evaluations allow, and further if
// needed to keep nodes on distinct steps, which the limits then refuse. The nodes run from one
// end of the lattice's box to the other, m + 1 in x and n + 1 in y.
SampleLattice place_nodes(const SampleLattice& lattice, std::span<const double> node_x,
                          std::span<const double> node_y);

}  // namespace toven
