#include "surface/surface_view.h"

#include <cmath>

namespace toven {

SurfaceView make_view(const SurfaceRequest& request) {
    const auto [n, m, k] = request.mesh;
    const auto [x1, x2, y1, y2, z1, z2] = request.box;
    const double tilt = request.tilt;
    SurfaceView view;
    const double ratio = n * (x2 - x1) / (m * (y2 - y1));
    view.rot = -std::atan2(ratio, 1.0) / radians_per_degree;
    const double rot_radians = view.rot * radians_per_degree;
    const double tilt_radians = tilt * radians_per_degree;
    view.sin_rot = std::sin(rot_radians);
    view.sin_tilt = std::sin(tilt_radians);
    view.cos_rot = std::cos(rot_radians);
    view.cos_tilt = std::cos(tilt_radians);
    view.cos_rot_sin_tilt = view.cos_rot * view.sin_tilt;
    view.sin_rot_sin_tilt = view.sin_tilt * view.sin_rot;
    view.box = request.box;
    return view;
}

WorldWindow projected_box_window(const SurfaceView& view) {
    const auto [x1, x2, y1, y2, z1, z2] = view.box;
    const bool turned_left = view.sin_rot > 0;
    const bool from_below = view.sin_tilt < 0;
    WorldWindow window;
    if (turned_left) {
        window.left = view.project_h(x1, y1);
        window.right = view.project_h(x2, y2);
    } else {
        window.left = view.project_h(x1, y2);
        window.right = view.project_h(x2, y1);
    }
    if (!turned_left && !from_below) {
        window.bottom = view.project_v(x1, y1, z1);
        window.top = view.project_v(x2, y2, z2);
    } else if (!turned_left) {
        window.bottom = view.project_v(x2, y2, z1);
        window.top = view.project_v(x1, y1, z2);
    } else if (!from_below) {
        window.bottom = view.project_v(x2, y1, z1);
        window.top = view.project_v(x1, y2, z2);
    } else {
        window.bottom = view.project_v(x1, y2, z1);
        window.top = view.project_v(x2, y1, z2);
    }
    return window;
}

}  // namespace toven
