// The panels of a plot page: where each lies, in percent of the drawing area (x from the left,
// y from the bottom), and its colours. On the printed page the surface and data panels start
// higher up and there is no mini grid or readout.
#pragma once

#include "plotter/colour_tables.h"
#include "plotter/panel_layout.h"

namespace toven {

enum class PageKind { screen, printer };

// Drawn in the plot colour `pc` of the graph data.
constexpr PanelLayout surface_panel(PageKind page, int plot_colour) {
    const int bottom = page == PageKind::printer ? 20 : 5;
    return {5, 75, bottom, 75, brush_pale_yellow, pen_dark_green, plot_colour, pen_dark_blue};
}

// The data lines with rot and tilt.
constexpr PanelLayout data_panel(PageKind page) {
    const bool printer = page == PageKind::printer;
    return {77,
            98,
            printer ? 20 : 5,
            printer ? 75 : 52,
            brush_pale_cyan,
            pen_cyan,
            pen_dark_green,
            pen_dark_green};
}

// The formula line, across the top left.
inline constexpr PanelLayout formula_panel = {
    5, 75, 77, 90, brush_pale_orange, pen_dark_green, pen_dark_blue, pen_dark_blue};

// Screen only: the plan of the box's base that the mouse reads.
inline constexpr PanelLayout mini_grid_panel = {
    77, 98, 54, 75, brush_pale_yellow, pen_dark_green, pen_dark_blue, pen_dark_blue};

// Screen only: x, y and f(x,y) under the mouse.
inline constexpr PanelLayout readout_panel = {
    77, 98, 77, 90, brush_pale_pink, pen_cyan, pen_dark_blue, pen_dark_blue};

}  // namespace toven
