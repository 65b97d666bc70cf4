// The surface one plot asks for: the box, the mesh over it, the tilt and the turn, passed whole
// from the graph data to the checks, the work estimate, the view and the drawing.
#pragma once

#include <span>

#include "surface/mesh.h"

namespace toven {

// World units: the surface is drawn over x1..x2 by y1..y2; z1..z2 sets the vertical scale.
struct Box {
    double x1 = 0;
    double x2 = 0;
    double y1 = 0;
    double y2 = 0;
    double z1 = 0;
    double z2 = 0;

    friend bool operator==(const Box&, const Box&) = default;
};

// Which curves of the mesh are drawn: both families, only the curves of constant y (which
// run along x), or only those of constant x; `unknown` stands for a choice that is none of
// these, which no plot draws.
enum class CurveChoice { both, along_x, along_y, unknown };

struct SurfaceRequest {
    Box box;
    Mesh mesh;
    double tilt = 0;  // degrees
    CurveChoice curves = CurveChoice::both;
    double turn = 0;  // degrees about the vertical axis; the view draws the nearest it can
    // The mesh curves' own places when a grid's nodes are unevenly spaced: the m + 1 x of the
    // curves of constant x and the n + 1 y of those of constant y, from one end of the box to
    // the other. Empty for an even mesh. Not owned.
    std::span<const double> node_x{};
    std::span<const double> node_y{};
};

}  // namespace toven
