#include "surface/visible_point.h"

#include <algorithm>
#include <cmath>

#include "surface/evaluation_run.h"

namespace toven {

namespace {

// A ray passing within this many pixels of the surface shows it: the lines of the page run
// through the pixel its samples round to, up to a pixel from the true curve.
constexpr double near_miss_pixels = 1.0;
// The bisection stops once the point lies this close to the ray, in pixels.
constexpr double refined_pixels = 1e-3;
// Enough halvings of a sampling step to reach the last bits of a double.
constexpr int max_halvings = 60;

// A point of the surface over the ray, and how far the surface there lies above the ray, in
// projected height; the sign says on which side of the ray the surface is.
struct RaySample {
    double t = 0;
    SurfacePoint point;
    double gap = 0;
};

// The view ray through one pixel, over the base of the box. Its parameter t counts sampling
// steps from where it enters the base on a front edge (t = 0) to where it leaves it on a back
// edge (t = length): a step moves x by step_dx and y by step_dy together, which keeps the
// projected h, so the ray runs down one page column between the lattice's own columns.
class ViewRay {
  public:
    ViewRay(const DrawnSurface& surface, FunctionXY& function, double column, double v)
        : surface_(surface), evaluate_(function), v_(v) {
        const SampleLattice& lattice = surface.lattice;
        const double along_y = lattice.column_steps();
        const double along_x = lattice.row_steps();
        // Before the corner (x1, y1) the ray enters on the edge x = x1, after it on y = y1.
        from_x1_ = std::max(column - along_y, 0.0);
        from_y1_ = std::max(along_y - column, 0.0);
        length_ = std::min(along_x - from_x1_, along_y - from_y1_);
    }

    double length() const { return length_; }

    RaySample at(double t) const {
        const SampleLattice& lattice = surface_.lattice;
        RaySample sample{t, {}, 0};
        SurfacePoint& p = sample.point;
        // Uneven nodes are read where they are, though drawn up to half a step away.
        p.x = lattice.x_at(from_x1_ + t);
        p.y = lattice.y_at(from_y1_ + t);
        p.z = evaluate_(p.x, p.y);
        const double drawn_x = lattice.x1 + (from_x1_ + t) * lattice.step_dx;
        const double drawn_y = lattice.y1 + (from_y1_ + t) * lattice.step_dy;
        sample.gap = surface_.view.project_v(drawn_x, drawn_y, p.z) - v_;
        return sample;
    }

  private:
    const DrawnSurface& surface_;
    EvaluationRun evaluate_;
    double v_;
    double from_x1_ = 0;
    double from_y1_ = 0;
    double length_ = 0;
};

bool finite(const RaySample& sample) {
    return std::isfinite(sample.gap);
}

// Which side of the ray the surface lies on; a gap of 0 is on the ray.
bool above(const RaySample& sample) {
    return sample.gap > 0;
}

// Halves [front, back], whose ends lie on opposite sides of the ray, down to a point on it.
SurfacePoint refine(const ViewRay& ray, RaySample front, RaySample back, double y_scale) {
    for (int i = 0; i < max_halvings; ++i) {
        const RaySample middle = ray.at((front.t + back.t) / 2);
        if (!finite(middle) || std::abs(middle.gap * y_scale) < refined_pixels) {
            return finite(middle) ? middle.point : front.point;
        }
        (above(middle) == above(front) ? front : back) = middle;
    }
    return std::abs(front.gap) <= std::abs(back.gap) ? front.point : back.point;
}

// Steps from the front until the surface changes sides of the ray; a sample that is not a
// number breaks the surface, so no crossing is looked for across it.
std::optional<SurfacePoint> search(const ViewRay& ray, double y_scale) {
    RaySample previous = ray.at(0);
    if (previous.gap == 0) {
        return previous.point;
    }
    std::optional<RaySample> closest;
    if (finite(previous)) {
        closest = previous;
    }
    const int steps = static_cast<int>(std::ceil(ray.length()));
    for (int i = 1; i <= steps; ++i) {
        const RaySample next = ray.at(std::min(static_cast<double>(i), ray.length()));
        if (finite(next)) {
            if (next.gap == 0) {
                return next.point;
            }
            if (finite(previous) && above(previous) != above(next)) {
                return refine(ray, previous, next, y_scale);
            }
            if (!closest || std::abs(next.gap) < std::abs(closest->gap)) {
                closest = next;
            }
        }
        previous = next;
    }
    if (closest && std::abs(closest->gap * y_scale) <= near_miss_pixels) {
        return closest->point;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SurfacePoint> visible_point(const DrawnSurface& surface, FunctionXY& function,
                                          platform::Point pixel) {
    const PanelMapping& panel = surface.panel;
    if (!panel.contains(pixel)) {
        return std::nullopt;
    }
    const SampleLattice& lattice = surface.lattice;
    const SurfaceView& view = surface.view;
    // The lattice's column numbers, continued between the columns: column n ky is the corner
    // (x1, y1), and each column lies one step's h further on.
    const double h = panel.to_world_x(pixel.x);
    const double column = lattice.column_steps() + (h - view.project_h(lattice.x1, lattice.y1)) /
                                                       (lattice.step_dx * view.cos_rot);
    if (!(column >= 0 && column <= lattice.column_count() - 1)) {
        return std::nullopt;
    }
    const ViewRay ray(surface, function, column, panel.to_world_y(pixel.y));
    return search(ray, panel.y_scale);
}

platform::Point surface_pixel(const DrawnSurface& surface, const SurfacePoint& point) {
    const SurfaceView& view = surface.view;
    return {surface.panel.to_device_x(view.project_h(point.x, point.y)),
            surface.panel.to_device_y(view.project_v(point.x, point.y, point.z))};
}

}  // namespace toven
