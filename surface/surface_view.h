// The view of a surface: the rotation that follows from the mesh, the user's tilt, the box,
// and the parallel projection of a point (x, y, z) to page coordinates (h, v).
#pragma once

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
    double rot = 0;  // degrees
    Box box;         // of the last surface drawn

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

// The view of a surface over a mesh of m by n intervals: `rot` puts every sample of the mesh on
// one of (n + m) k + 1 page columns. Needs m, n >= 1, x1 != x2, y1 != y2.
SurfaceView make_view(const SurfaceRequest& request);

// The world window that makes the projected box fill a panel: two opposite corners, chosen
// by the signs of sin(rot) and sin(tilt).
struct WorldWindow {
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
};
WorldWindow projected_box_window(const SurfaceView& view);

}  // namespace toven
