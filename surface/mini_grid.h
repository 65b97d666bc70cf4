// The mini grid: a plan of the box's base x1..x2 by y1..y2 beside a screen plot, and the
// readout panel above it that shows x, y and f(x,y) under the mouse.
#pragma once

#include "expr/surface_function.h"
#include "plotter/plotter.h"

namespace toven {

// Frames the mini grid panel, leaves its world window x1..x2 by y1..y2 in the Plotter for
// the readouts, and draws the 10 by 10 grid and the axes of the plane; the cyan pen of the y axis
// stays selected.
void draw_mini_grid(Plotter& plotter, double x1, double x2, double y1, double y2);

// Maps the mouse through the mini grid's world window (clamped to the box), evaluates f there
// and rewrites the readout panel. Needs the screen output that drew the mini grid.
void draw_readout(Plotter& plotter, FunctionXY& function, int mouse_x, int mouse_y);

}  // namespace toven
