// The samples of a surface drawing and the page column of each. The view's rotation is
// chosen so that one sampling step in x and one in y move the projected h by equal and
// opposite amounts; every sample therefore lies on one of (n + m) k + 1 equally spaced page
// columns, and a hidden-line horizon is an array indexed by column.
#pragma once

#include "surface/mesh.h"

namespace toven {

struct SampleLattice {
    double x1, x2, y1, y2;
    Mesh mesh;
    double mesh_dx = (x2 - x1) / mesh.m;  // between the curves of constant x
    double mesh_dy = (y2 - y1) / mesh.n;  // between the curves of constant y
    double step_dx = mesh_dx / mesh.k;    // between the samples along a curve
    double step_dy = mesh_dy / mesh.k;

    // The column of the sample that lies `from_x1` steps from x1 and `from_y1` steps from y1.
    // A step towards x2 moves one column right, a step towards y2 one column left: the corner
    // (x1, y2) is column 0, (x1, y1) column nk and (x2, y1) the last, column (n + m) k.
    int column(int from_x1, int from_y1) const { return mesh.n * mesh.k + from_x1 - from_y1; }
    int column_count() const { return (mesh.n + mesh.m) * mesh.k + 1; }
};

}  // namespace toven
