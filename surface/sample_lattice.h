// The samples of a surface drawing and the page column of each. The view's rotation is
// chosen so that one sampling step in x and one in y move the projected h by equal and
// opposite amounts; every sample therefore lies on one of n ky + m kx + 1 equally spaced page
// columns, and a hidden-line horizon is an array indexed by column.
//
// The curves of constant y take kx steps per mesh interval in x, those of constant x ky steps
// per interval in y. Unturned, both are k; a turned view takes other whole numbers, whose
// ratio sets the angle at which the steps keep the columns. A turned view also starts from
// the corner nearest the viewer: its x1 may be the box's x2 and its y1 the box's y2, so that
// the front edges are the two nearest and every rule below holds unchanged.
//
// A grid's uneven nodes cannot all lie on even steps. Each of its mesh curves is then drawn on
// the lattice line nearest its node, and evaluated along the node's own line: the samples
// between two neighbouring curves take evenly spaced coordinates from one node to the next,
// so a curve passes through every node value at the place where the crossing curve is drawn,
// and is straight between them, as the grid is. Only its place on the page moves, by at most
// half a step, which a fine enough lattice keeps below a pixel.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "surface/mesh.h"

namespace toven {

struct SampleLattice {
    double x1, x2, y1, y2;
    Mesh mesh;
    int kx = mesh.k;                      // steps per mesh interval along the curves of constant y
    int ky = mesh.k;                      // steps per mesh interval along the curves of constant x
    double mesh_dx = (x2 - x1) / mesh.m;  // between the curves of constant x
    double mesh_dy = (y2 - y1) / mesh.n;  // between the curves of constant y
    double step_dx = mesh_dx / kx;        // between the samples along a curve
    double step_dy = mesh_dy / ky;
    // For uneven nodes: each curve's place in whole steps from x1 (curves of constant x) or y1
    // (of constant y), and the coordinate each step from x1 or y1 is evaluated at. Empty for an
    // even mesh, whose curves lie kx or ky steps apart and are evaluated where they are drawn.
    std::vector<int> x_places{};
    std::vector<int> y_places{};
    std::vector<double> x_at_step{};
    std::vector<double> y_at_step{};

    bool uneven() const { return !x_places.empty(); }
    // How many steps from x1 column l lies, and from y1 row i.
    int x_place(int l) const { return uneven() ? x_places[l] : l * kx; }
    int y_place(int i) const { return uneven() ? y_places[i] : i * ky; }

    // The column of the sample that lies `from_x1` steps from x1 and `from_y1` steps from y1.
    // A step towards x2 moves one column on, a step towards y2 one column back: the corner
    // (x1, y2) is column 0, (x1, y1) column n ky and (x2, y1) the last, column n ky + m kx.
    int column(int from_x1, int from_y1) const { return mesh.n * ky + from_x1 - from_y1; }
    int column_count() const { return mesh.n * ky + mesh.m * kx + 1; }
    // Samples along a curve of constant y, and along one of constant x, from end to end.
    int row_steps() const { return mesh.m * kx; }
    int column_steps() const { return mesh.n * ky; }
    // Every sample of both families, the shared ones counted twice as they are evaluated.
    double evaluation_count() const {
        return (mesh.n + 1.0) * (row_steps() + 1.0) + (mesh.m + 1.0) * (column_steps() + 1.0);
    }

    // Where the samples are evaluated: the curves of the drawing, as two families. Row i (0 to n)
    // is the curve of constant y i mesh steps from y1, with m kx + 1 samples j steps from x1; row 0
    // is the front edge, at the y where the edge x = x1 ends. Column l (0 to m) is the curve of
    // constant x l mesh steps from x1, with n ky + 1 samples j steps from y1; column 0 is the front
    // edge x = x1, whose samples are counted back from y2. Each coordinate is computed one way
    // only, so a point sampled twice gets the same height to the last bit.
    double row_y(int i) const {
        if (uneven()) {
            return y_at_step[y_places[i]];
        }
        return i == 0 ? front_y() : y1 + i * mesh_dy;
    }
    double row_x(int j) const {
        if (uneven()) {
            return x_at_step[j];
        }
        return j == 0 ? x1 : x1 + j * step_dx;
    }
    double column_x(int l) const {
        if (uneven()) {
            return x_at_step[x_places[l]];
        }
        return l == 0 ? x1 : x1 + l * mesh_dx;
    }
    double column_y(int l, int j) const {
        if (uneven()) {
            return y_at_step[j];
        }
        const int steps = column_steps();
        if (l == 0) {
            return j == steps ? y2 : y2 - (steps - j) * step_dy;
        }
        return j == 0 ? y1 : y1 + j * step_dy;
    }
    double front_y() const { return y2 - column_steps() * step_dy; }

    // Where the samples are drawn: for an even mesh where they are evaluated, for uneven
    // nodes on the even steps.
    double drawn_row_y(int i) const { return uneven() ? y1 + y_places[i] * step_dy : row_y(i); }
    double drawn_row_x(int j) const { return uneven() ? x1 + j * step_dx : row_x(j); }
    double drawn_column_x(int l) const {
        return uneven() ? x1 + x_places[l] * step_dx : column_x(l);
    }
    double drawn_column_y(int l, int j) const {
        return uneven() ? y1 + j * step_dy : column_y(l, j);
    }

    // The point evaluated for the point drawn `from_x1` and `from_y1` steps (not necessarily
    // whole) from x1 and y1: between two steps the coordinates run straight, as between two
    // nodes.
    double x_at(double from_x1) const {
        return uneven() ? between_steps(x_at_step, from_x1) : x1 + from_x1 * step_dx;
    }
    double y_at(double from_y1) const {
        return uneven() ? between_steps(y_at_step, from_y1) : y1 + from_y1 * step_dy;
    }

  private:
    static double between_steps(const std::vector<double>& at_step, double steps) {
        const double last = static_cast<double>(at_step.size() - 1);
        const double before = std::floor(std::clamp(steps, 0.0, last));
        const auto index = static_cast<std::size_t>(before);
        if (before == last) {
            return at_step.back();
        }
        return at_step[index] + (steps - before) * (at_step[index + 1] - at_step[index]);
    }
};

}  // namespace toven
