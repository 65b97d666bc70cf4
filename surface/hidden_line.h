// The hidden-line drawing of a surface: the mesh of curves of constant y, then of constant x,
// each family drawn from the front edges backwards against its own two-sided floating horizon.
#pragma once

#include "expr/surface_function.h"
#include "surface/sample_lattice.h"
#include "surface/surface_plotter.h"
#include "surface/surface_view.h"

namespace toven {

// The pen of the underside of a surface drawn in `surface_pen`: the dark shade of a bright pen,
// eight places below it. Pens black to grey have no darker shade, so their underside is drawn
// in the surface pen itself.
int underside_pen(int surface_pen);

// Makes room for the horizons and the heights in the plotter's hidden_line_storage, keeping
// the memory it holds where that suffices, then makes `view` the plotter's view with the
// projected box as its world window, and draws z = f(x, y) on the plotter's open device
// in the current pen and, for the underside, the pen eight below it. The heights are
// evaluated on up to `threads` threads when the function allows shared evaluation; the
// drawing is the same on any number. Throws std::bad_alloc when the storage cannot be
// allocated; the plotter's view and page are then as they were, and its storage may hold
// less. `curves` leaves out one family, and the front edge that belongs to it.
void draw_hidden_lines(SurfacePlotter& plotter, FunctionXY& function, const SampleLattice& lattice,
                       const SurfaceView& view, int threads,
                       CurveChoice curves = CurveChoice::both);

}  // namespace toven
