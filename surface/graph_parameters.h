// The numbers of one plot, converted from the sdata table's text at the start of every plot
// with the C library's atof and atoi rules. Nothing is validated.
#pragma once

#include <string>

#include "expr/data_table.h"
#include "surface/mesh.h"
#include "surface/surface_request.h"

namespace toven {

// The value of the switches fc and ax that draws the frame box or the axes; any other value
// draws nothing.
inline constexpr int switch_on = 1;

struct GraphParameters {
    // The box, world units: the surface is drawn over x1..x2 by y1..y2; z1..z2 sets the
    // vertical scale only, and values outside it are not cut.
    double x1 = 0;
    double x2 = 0;
    double y1 = 0;
    double y2 = 0;
    double z1 = 0;
    double z2 = 0;
    int n = 0;          // mesh intervals in y: n + 1 curves of constant y
    int m = 0;          // mesh intervals in x: m + 1 curves of constant x
    int k = 0;          // sampling steps along a curve between neighbouring mesh points
    double tilt = 0;    // degrees; the turn `rot` follows from the box and the mesh
    int pc = 0;         // upper-side pen; the underside is pc - 8, but pens 0 to 7 draw it in pc
    int fc = 0;         // frame switch: switch_on draws the frame box, in dark blue
    int ax = 0;         // axes switch: switch_on draws the three axes through the origin
    std::string title;  // shown above the formula panel unless blank
    CurveChoice curves = CurveChoice::both;  // "both", "x" or "y"
    double turn = 0;  // degrees about the vertical axis; the view draws the nearest it can

    Mesh mesh() const { return {.n = n, .m = m, .k = k}; }
    Box box() const { return {x1, x2, y1, y2, z1, z2}; }
    SurfaceRequest surface() const { return {box(), mesh(), tilt, curves, turn}; }
};

// The numbers of the graph data table's items; a missing record gives 0 (or an empty title).
GraphParameters load_graph_parameters(const DataTable& table);

}  // namespace toven
