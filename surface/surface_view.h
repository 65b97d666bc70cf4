// The view of a surface: the rotation that follows from the mesh, the user's tilt, the box,
// and the parallel projection of a point (x, y, z) to page coordinates (h, v).
#pragma once

#include "surface/sample_lattice.h"
#include "surface/surface_request.h"

namespace toven {

inline constexpr double radians_per_degree = 0.017453292519943295;

struct SurfaceView {
    double sin_rot = 0;
    double cos_rot = 1;
    double sin_tilt = 0;
    double cos_tilt = 1;
    double cos_rot_sin_tilt = 0;
    double sin_rot_sin_tilt = 0;
    double rot = 0;       // degrees
    Box box;              // of the last surface drawn
    bool turned = false;  // by the item turn, away from the view the mesh sets

    // The one projection of the program: the surface's samples, the box, the axes and the
    // world window all go through it, so a corner of the box and a sample at that corner
    // land on the same pixel. The height term comes first for the hidden-line drawing, which
    // compares heights as doubles: its exact pixels depend on this order of summation, since
    // another order moves an occasional height by its last bit.
    double project_h(double x, double y) const { return x * cos_rot + y * sin_rot; }
    double project_v(double x, double y, double z) const {
        return z * cos_tilt - x * sin_rot_sin_tilt + y * cos_rot_sin_tilt;
    }
};

// A turned view keeps its columns by taking more steps along one family of curves than along
// the other: at most this many times more, so that near a quarter angle, where one family
// turns edge-on, the samples stay bounded.
inline constexpr int max_step_ratio = 16;

// The samples of the view that `request` asks for. Unturned, the box's own with k steps per
// interval both ways. Turned, from the box's corner nearest the viewer, with kx and ky steps
// whose ratio gives the angle nearest the turn asked for. A grid's uneven nodes, when the
// request has them, take the places of its curves (place_nodes). Needs m, n, k >= 1, x1 != x2,
// y1 != y2.
SampleLattice make_lattice(const SurfaceRequest& request);

// The view of a surface over a mesh of m by n intervals: `rot` puts every sample of `lattice`,
// which is make_lattice(request), on one of its page columns. Unturned, rot follows from the
// mesh; turned, it is the angle drawn, the turn asked for rounded to the lattice's steps.
SurfaceView make_view(const SurfaceRequest& request, const SampleLattice& lattice);

// The world window that makes the projected box fill a panel. Unturned, two opposite corners
// chosen by the signs of sin(rot) and sin(tilt); turned, the extremes of the box's corners.
struct WorldWindow {
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
};
WorldWindow projected_box_window(const SurfaceView& view);

}  // namespace toven
