#include "surface/surface_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "surface/uneven_nodes.h"

namespace toven {

namespace {

// Unturned, one step in x and one in y move h equally and oppositely at this rot, in degrees.
double unturned_rot(const SurfaceRequest& request) {
    const auto [n, m, k] = request.mesh;
    const auto [x1, x2, y1, y2, z1, z2] = request.box;
    const double ratio = n * (x2 - x1) / (m * (y2 - y1));
    return -std::atan2(ratio, 1.0) / radians_per_degree;
}

bool is_turned(const SurfaceRequest& request) {
    return std::isfinite(request.turn) && std::fmod(request.turn, 360.0) != 0;
}

// The angle in (-180, 180] degrees.
double normalised(double degrees) {
    const double turned = std::fmod(degrees, 360.0);
    if (turned > 180) {
        return turned - 360;
    }
    return turned <= -180 ? turned + 360 : turned;
}

SurfaceView view_at(double rot, const SurfaceRequest& request) {
    SurfaceView view;
    view.rot = rot;
    const double rot_radians = view.rot * radians_per_degree;
    const double tilt_radians = request.tilt * radians_per_degree;
    view.sin_rot = std::sin(rot_radians);
    view.sin_tilt = std::sin(tilt_radians);
    view.cos_rot = std::cos(rot_radians);
    view.cos_tilt = std::cos(tilt_radians);
    view.cos_rot_sin_tilt = view.cos_rot * view.sin_tilt;
    view.sin_rot_sin_tilt = view.sin_tilt * view.sin_rot;
    view.box = request.box;
    view.turned = is_turned(request);
    return view;
}

// A drawn angle this near the one asked for (about a two-hundredth of a degree) is near enough.
constexpr double close_enough_radians = 1e-4;

struct StepCounts {
    int kx = 0;
    int ky = 0;
};

// The steps per interval, kx along x and ky along y, that keep the columns at the angle nearest
// the one asked for: the view looks along (away_x, away_y) in the base, and the steps along
// (mesh_dx / kx, mesh_dy / ky), all taken by size. The fewer steps are k to 2k, the more at most
// max_step_ratio k; the fewest that come near enough are taken.
StepCounts nearest_steps(double away_x, double away_y, const SampleLattice& lattice) {
    const double mesh_dx = std::abs(lattice.mesh_dx);
    const double mesh_dy = std::abs(lattice.mesh_dy);
    const int k = lattice.mesh.k;
    const double wanted = std::atan2(away_y, away_x);
    const double ratio = away_x * mesh_dy / (away_y * mesh_dx);  // ky / kx; infinite edge-on
    const bool y_finer = ratio >= 1;
    StepCounts best{k, k};
    double best_miss = std::numeric_limits<double>::infinity();
    for (int fewer = k; fewer <= 2 * k; ++fewer) {
        const double more = std::min<double>(
            std::max<double>(fewer, std::round(fewer * (y_finer ? ratio : 1 / ratio))),
            max_step_ratio * k);
        const StepCounts steps = y_finer ? StepCounts{fewer, static_cast<int>(more)}
                                         : StepCounts{static_cast<int>(more), fewer};
        const double miss = std::abs(std::atan2(mesh_dy * steps.kx, mesh_dx * steps.ky) - wanted);
        // A finer lattice must come nearer by more than rounding to be worth its samples.
        if (miss < best_miss - 1e-12) {
            best_miss = miss;
            best = steps;
        }
        // Nearer than a person can tell, more samples would only cost time: at a large k the
        // search would otherwise double them for a gain of a hundred-thousandth of a degree.
        if (best_miss <= close_enough_radians) {
            break;
        }
    }
    return best;
}

// The lattice of a turned view: from the corner nearest the viewer, with the steps that keep
// the columns at the angle nearest the one asked for. The view looks along (-sin rot, cos rot)
// in the base, and a step in x with a step in y keeps h when together they run that way.
SampleLattice turned_lattice(const SurfaceRequest& request) {
    const auto [x1, x2, y1, y2, z1, z2] = request.box;
    const double rot = (unturned_rot(request) + request.turn) * radians_per_degree;
    const double away_x = -std::sin(rot);
    const double away_y = std::cos(rot);
    const bool from_x1 = away_x * (x2 - x1) >= 0;
    const bool from_y1 = away_y * (y2 - y1) >= 0;
    SampleLattice lattice{from_x1 ? x1 : x2, from_x1 ? x2 : x1, from_y1 ? y1 : y2,
                          from_y1 ? y2 : y1, request.mesh};
    const auto [kx, ky] = nearest_steps(std::abs(away_x), std::abs(away_y), lattice);
    return SampleLattice{lattice.x1, lattice.x2, lattice.y1, lattice.y2, request.mesh, kx, ky};
}

// Two opposite corners of the box, chosen by the signs of sin(rot) and sin(tilt); a box given
// with x2 < x1 or y2 < y1 keeps the page it has always had.
WorldWindow unturned_box_window(const SurfaceView& view) {
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

}  // namespace

SampleLattice make_lattice(const SurfaceRequest& request) {
    const auto [x1, x2, y1, y2, z1, z2] = request.box;
    SampleLattice lattice =
        is_turned(request) ? turned_lattice(request) : SampleLattice{x1, x2, y1, y2, request.mesh};
    if (request.node_x.empty()) {
        return lattice;
    }
    return place_nodes(lattice, request.node_x, request.node_y);
}

SurfaceView make_view(const SurfaceRequest& request, const SampleLattice& lattice) {
    if (!is_turned(request)) {
        return view_at(unturned_rot(request), request);
    }
    const double rot = std::atan2(-lattice.step_dx, lattice.step_dy) / radians_per_degree;
    return view_at(normalised(rot), request);
}

WorldWindow projected_box_window(const SurfaceView& view) {
    if (!view.turned) {
        return unturned_box_window(view);
    }
    const auto [x1, x2, y1, y2, z1, z2] = view.box;
    constexpr double far = std::numeric_limits<double>::infinity();
    WorldWindow window{far, -far, far, -far};
    for (const double x : {x1, x2}) {
        for (const double y : {y1, y2}) {
            window.left = std::min(window.left, view.project_h(x, y));
            window.right = std::max(window.right, view.project_h(x, y));
            for (const double z : {z1, z2}) {
                window.bottom = std::min(window.bottom, view.project_v(x, y, z));
                window.top = std::max(window.top, view.project_v(x, y, z));
            }
        }
    }
    return window;
}

}  // namespace toven
