// A figure for a paper: the surface alone on the whole drawing area, in the page's projection
// and with the page's hidden lines, its frame box and axes as the graph data asks, tick marks
// with numbers on the two front edges of the box's base and on its left vertical edge, the
// labels x, y and z, and the title above. The numbers never overlap each other, and lie
// outside the projected box, which a surface inside its box never crosses.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "expr/surface_function.h"
#include "platform/geometry.h"
#include "platform/refusal.h"
#include "surface/graph_parameters.h"
#include "surface/grid.h"
#include "surface/surface_plotter.h"

namespace toven {

enum class FigureText { x_tick, y_tick, z_tick, axis_name, title };

struct FigureLabel {
    FigureText kind;
    std::string text;
    platform::Rect box;  // device units, as drawn
    double value = 0;    // a tick's value
};

struct DrawnFigure {
    std::optional<platform::Refusal> refusal;  // graph data that cannot be plotted: nothing drawn
    std::vector<FigureLabel> labels;
};

// Opens screen output on the plotter's window and draws the figure of `graph` with
// `function`, compiled and loaded by the caller (the heights of `grid` when one stands in for
// the formula, whose uneven nodes are then drawn where they are); the output stays open for
// the caller to save the window's picture and end. Refuses what the page refuses: then no
// surface, tick or label is drawn.
DrawnFigure draw_figure(SurfacePlotter& plotter, FunctionXY& function, const GraphParameters& graph,
                        const Grid* grid = nullptr);

}  // namespace toven
