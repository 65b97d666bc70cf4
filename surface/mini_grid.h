// The mini grid: a plan of the box's base x1..x2 by y1..y2 beside a screen plot, and the
// readout panel above it that shows x, y and f(x,y) of the point under the mouse, read on the
// surface or on the mini grid, with a cross marking the same point in the other view.
#pragma once

#include "expr/surface_function.h"
#include "platform/geometry.h"
#include "surface/surface_plotter.h"

namespace toven {

// Frames the mini grid panel, leaves its world window x1..x2 by y1..y2 in the Plotter for
// the readouts, and draws the 10 by 10 grid and the axes of the plane; the cyan pen of the y axis
// stays selected.
void draw_mini_grid(Plotter& plotter, double x1, double x2, double y1, double y2);

// Rewrites the readout panel for the mouse at `mouse`. Over a point of the drawn surface it
// reads that point and marks its x, y on the mini grid; elsewhere it maps the mouse through
// the mini grid's world window (clamped to the box) and evaluates f there, and over the mini
// grid marks that point on the surface. The previous marker goes first. Needs the screen
// output that drew the mini grid; the page itself is not redrawn.
void draw_readout(SurfacePlotter& plotter, FunctionXY& function, platform::Point mouse);

}  // namespace toven
