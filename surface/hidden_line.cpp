// The hidden-line drawing: the mesh of curves of constant y, then of constant x, each family drawn
// from the front edges backwards against its own two-sided floating horizon. Every sample lies on
// one page column (the rotation is chosen so), so a horizon is an array indexed by column.
#include <cmath>
#include <new>
#include <optional>
#include <vector>

#include "surface/hidden_line.h"

#include "surface/evaluation_run.h"

namespace toven {

namespace {

// The pen follows every sample, but the device hears of it only when a line is drawn: a run
// of hidden samples costs one move, and the device point of a sample is computed only when
// a line needs it. Dense meshes put many samples on one device point; a line of no length
// changes no pixel, so it is left out.
class HiddenLineDrawing {
  public:
    HiddenLineDrawing(SurfacePlotter& plotter, FunctionXY& function, int columns)
        : plotter_(plotter),
          evaluate_(function),
          device_(*plotter.dc),
          upper_(static_cast<std::size_t>(columns)),
          lower_(static_cast<std::size_t>(columns)),
          surface_pen_(plotter.pen_number),
          underside_pen_(underside_pen(plotter.pen_number)) {}

    // Evaluates f(x, y) afresh and projects the point. A point sampled twice (the front
    // edges are, once for each family) gets the same height to the last bit.
    void sample(double x, double y) {
        const double z = evaluate_(x, y);
        h_ = plotter_.project_h(x, y);
        v_ = plotter_.project_v(x, y, z);
    }

    void move() { pen_ = {h_, v_, std::nullopt}; }

    // A segment with an end that is not a finite number has no place on the page: the pen
    // only moves there. A pen is selected only when a segment needs another one than the
    // last, so a run of segments on one side reaches the device as one run of lines.
    void line(int pen) {
        if (!std::isfinite(pen_.v) || !std::isfinite(v_)) {
            move();
            return;
        }
        const platform::Point from = device_point(pen_);
        pen_ = {h_, v_, device_point(h_, v_)};
        if (*pen_.device == from) {
            return;
        }
        if (device_position_ != from) {
            device_.move_to(from.x, from.y);
        }
        if (pen != device_pen_) {
            plotter_.select_pen(pen);
            device_pen_ = pen;
        }
        device_.line_to(pen_.device->x, pen_.device->y);
        device_position_ = pen_.device;
    }

    void line() { line(surface_pen_); }

    // Leaves the Plotter's current point and the device at the last sample, and the surface
    // pen selected.
    void finish() {
        const platform::Point last = device_point(pen_);
        plotter_.cur_x = pen_.h;
        plotter_.cur_y = pen_.v;
        plotter_.cur_px = last.x;
        plotter_.cur_py = last.y;
        if (device_position_ != last) {
            device_.move_to(last.x, last.y);
        }
        plotter_.select_pen(surface_pen_);
    }

    void set_horizons(int column) {
        upper_[static_cast<std::size_t>(column)] = v_;
        lower_[static_cast<std::size_t>(column)] = v_;
    }

    // Seen from above: drawn in the surface pen; seen from below: in the underside pen;
    // between the horizons (equality included, or not a number): hidden.
    void apply_visibility(int column) {
        double& upper = upper_[static_cast<std::size_t>(column)];
        double& lower = lower_[static_cast<std::size_t>(column)];
        if (upper < v_) {
            line(surface_pen_);
            upper = v_;
        } else if (v_ < lower) {
            line(underside_pen_);
            lower = v_;
        } else {
            move();
        }
    }

  private:
    struct PenPosition {
        double h = 0;
        double v = 0;
        std::optional<platform::Point> device;  // computed when first needed
    };

    platform::Point device_point(double h, double v) const {
        return {plotter_.to_device_x(h), plotter_.to_device_y(v)};
    }
    platform::Point device_point(PenPosition& position) const {
        if (!position.device) {
            position.device = device_point(position.h, position.v);
        }
        return *position.device;
    }

    SurfacePlotter& plotter_;
    EvaluationRun evaluate_;
    platform::Device& device_;
    std::vector<double> upper_;
    std::vector<double> lower_;
    int surface_pen_;
    int underside_pen_;
    int device_pen_ = surface_pen_;
    double h_ = 0;
    double v_ = 0;
    PenPosition pen_;
    std::optional<platform::Point> device_position_;  // unknown until the first line
};

// The front edges x = x1 (from the corner (x1, y2) to (x1, y1)) and y = y1 (on to (x2, y1)),
// sampled into both horizons and, when `draw` is set, drawn whole.
void front_edges(HiddenLineDrawing& drawing, const SampleLattice& lattice, bool draw) {
    const int nk = lattice.mesh.n * lattice.mesh.k;
    const int mk = lattice.mesh.m * lattice.mesh.k;
    drawing.sample(lattice.x1, lattice.y2);
    drawing.move();
    drawing.set_horizons(lattice.column(0, nk));
    double y_front = lattice.y2;
    for (int i = 1; i <= nk; ++i) {
        y_front = lattice.y2 - i * lattice.step_dy;
        drawing.sample(lattice.x1, y_front);
        if (draw) {
            drawing.line();
        }
        drawing.set_horizons(lattice.column(0, nk - i));
    }
    for (int j = 1; j <= mk; ++j) {
        drawing.sample(lattice.x1 + j * lattice.step_dx, y_front);
        if (draw) {
            drawing.line();
        }
        drawing.set_horizons(lattice.column(j, 0));
    }
}

// Curve i of constant y lies i k steps from y1; its samples j steps from x1.
void curves_of_constant_y(HiddenLineDrawing& drawing, const SampleLattice& lattice) {
    const int mk = lattice.mesh.m * lattice.mesh.k;
    for (int i = 1; i <= lattice.mesh.n; ++i) {
        const double y = lattice.y1 + i * lattice.mesh_dy;
        drawing.sample(lattice.x1, y);
        drawing.move();
        for (int j = 1; j <= mk; ++j) {
            drawing.sample(lattice.x1 + j * lattice.step_dx, y);
            drawing.apply_visibility(lattice.column(j, i * lattice.mesh.k));
        }
    }
}

// Curve l of constant x lies l k steps from x1; its samples j steps from y1.
void curves_of_constant_x(HiddenLineDrawing& drawing, const SampleLattice& lattice) {
    const int nk = lattice.mesh.n * lattice.mesh.k;
    for (int l = 1; l <= lattice.mesh.m; ++l) {
        const double x = lattice.x1 + l * lattice.mesh_dx;
        drawing.sample(x, lattice.y1);
        drawing.move();
        for (int j = 1; j <= nk; ++j) {
            drawing.sample(x, lattice.y1 + j * lattice.step_dy);
            drawing.apply_visibility(lattice.column(l * lattice.mesh.k, j));
        }
    }
}

}  // namespace

int underside_pen(int surface_pen) {
    return is_pen_number(surface_pen) && surface_pen >= dark_shade_offset
               ? surface_pen - dark_shade_offset
               : surface_pen;
}

void draw_hidden_lines(SurfacePlotter& plotter, FunctionXY& function, const SampleLattice& lattice,
                       const SurfaceView& view) {
    static_cast<SurfaceView&>(plotter) = view;
    const WorldWindow world = projected_box_window(plotter);
    plotter.set_world_window(world.left, world.right, world.bottom, world.top);
    HiddenLineDrawing drawing(plotter, function, lattice.column_count());
    front_edges(drawing, lattice, true);
    curves_of_constant_y(drawing, lattice);
    // The rows have raised the horizons over the whole surface, and the curves of constant x
    // lie on that same surface, mostly at or below them: against those horizons they would
    // hardly show. So each family is hidden by its own curves alone, starting from the front
    // edges, which are sampled again (not drawn) to reset both horizons.
    front_edges(drawing, lattice, false);
    curves_of_constant_x(drawing, lattice);
    drawing.finish();
}

}  // namespace toven
