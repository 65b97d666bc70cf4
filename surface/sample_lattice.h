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

    // The curves of the drawing, as two families. Row i (0 to n) is the curve of constant y i
    // mesh steps from y1, with mk + 1 samples j steps from x1; row 0 is the front edge, at the
    // y where the edge x = x1 ends. Column l (0 to m) is the curve of constant x l mesh steps
    // from x1, with nk + 1 samples j steps from y1; column 0 is the front edge x = x1, whose
    // samples are counted back from y2. Each coordinate is computed one way only, so a point
    // sampled twice gets the same height to the last bit.
    double row_y(int i) const { return i == 0 ? front_y() : y1 + i * mesh_dy; }
    double row_x(int j) const { return j == 0 ? x1 : x1 + j * step_dx; }
    double column_x(int l) const { return l == 0 ? x1 : x1 + l * mesh_dx; }
    double column_y(int l, int j) const {
        const int nk = mesh.n * mesh.k;
        if (l == 0) {
            return j == nk ? y2 : y2 - (nk - j) * step_dy;
        }
        return j == 0 ? y1 : y1 + j * step_dy;
    }
    double front_y() const { return y2 - mesh.n * mesh.k * step_dy; }
};

}  // namespace toven
