// The hidden-line drawing: the mesh of curves of constant y, then of constant x, each family drawn
// from the front edges backwards against its own two-sided floating horizon. Every sample lies on
// one page column (the rotation is chosen so), so a horizon is an array indexed by column.
#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <optional>
#include <vector>

#include "surface/hidden_line.h"

#include "platform/parallel.h"
#include "platform/vector_state.h"
#include "surface/hidden_line_storage.h"
#include "surface/lattice_heights.h"

namespace toven {

namespace {

// The two front edges of a page, evaluated first and kept for both families.
struct FrontEdges {
    const SampleLattice& lattice;
    CurveBand x1;  // column 0
    CurveBand y1;  // row 0
};

// The pen follows every sample, but the device hears of it only when a line is drawn: a run
// of hidden samples costs one move, and the device point of a sample is computed only when
// a line needs it. Dense meshes put many samples on one device point; a line of no length
// changes no pixel, so it is left out.
class HiddenLineDrawing {
  public:
    // The horizons are `storage`'s, with room already made for `columns` each; they start at
    // 0, as fresh ones would, though the front edges set every column before it is read.
    HiddenLineDrawing(SurfacePlotter& plotter, HiddenLineStorage& storage, int columns)
        : plotter_(plotter),
          device_(*plotter.dc),
          upper_(storage.upper),
          lower_(storage.lower),
          surface_pen_(plotter.pen_number),
          underside_pen_(underside_pen(plotter.pen_number)) {
        upper_.assign(static_cast<std::size_t>(columns), 0.0);
        lower_.assign(static_cast<std::size_t>(columns), 0.0);
    }

    // Projects the sample at (x, y) of height z.
    void sample(double x, double y, double z) {
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

    // A front sample that is a hole (not a number) leaves its column without a horizon.
    void set_horizons(int column) {
        upper_[static_cast<std::size_t>(column)] = v_;
        lower_[static_cast<std::size_t>(column)] = v_;
    }

    // Seen from above: drawn in the surface pen; seen from below: in the underside pen;
    // between the horizons (equality included): hidden. A hole is never drawn and raises no
    // horizon; in a column without a horizon yet, the first sample that is a number is seen
    // and becomes both horizons there, as a front edge's sample would.
    void apply_visibility(int column) {
        double& upper = upper_[static_cast<std::size_t>(column)];
        double& lower = lower_[static_cast<std::size_t>(column)];
        if (std::isnan(upper) && !std::isnan(v_)) {
            line(surface_pen_);
            upper = v_;
            lower = v_;
        } else if (upper < v_) {
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
    platform::Device& device_;
    std::vector<double>& upper_;
    std::vector<double>& lower_;
    int surface_pen_;
    int underside_pen_;
    int device_pen_ = surface_pen_;
    double h_ = 0;
    double v_ = 0;
    PenPosition pen_;
    std::optional<platform::Point> device_position_;  // unknown until the first line
};

// Which front edges front_edges draws: none, or those of the families drawn.
struct EdgesDrawn {
    bool column = false;  // x = x1
    bool row = false;     // y = y1
};

// The front edges x = x1 (column 0, from the corner (x1, y2) to (x1, y1)) and y = y1 (row 0,
// on to (x2, y1)), sampled into both horizons and drawn as `draw` says.
void front_edges(HiddenLineDrawing& drawing, const FrontEdges& edges, EdgesDrawn draw) {
    const SampleLattice& lattice = edges.lattice;
    const int along_y = lattice.column_steps();
    const double* column = edges.x1.curve(0);
    const double* row = edges.y1.curve(0);
    for (int j = along_y; j >= 0; --j) {
        drawing.sample(lattice.x1, lattice.drawn_column_y(0, j), column[j]);
        if (j == along_y || !draw.column) {
            drawing.move();
        } else {
            drawing.line();
        }
        drawing.set_horizons(lattice.column(0, j));
    }
    for (int j = 1; j <= lattice.row_steps(); ++j) {
        drawing.sample(lattice.drawn_row_x(j), lattice.drawn_row_y(0), row[j]);
        if (draw.row) {
            drawing.line();
        } else {
            drawing.move();
        }
        drawing.set_horizons(lattice.column(j, 0));
    }
}

// Row i lies y_place(i) steps from y1, its sample j j steps from x1; column l lies x_place(l)
// steps from x1, its sample j j steps from y1. Each curve starts with a move to its front end.
void draw_band(HiddenLineDrawing& drawing, const SampleLattice& lattice, const CurveBand& band) {
    for (int c = band.first; c < band.first + band.count; ++c) {
        const double* z = band.curve(c);
        if (band.family == CurveFamily::rows) {
            const double y = lattice.drawn_row_y(c);
            const int from_y1 = lattice.y_place(c);
            drawing.sample(lattice.x1, y, z[0]);
            drawing.move();
            for (int j = 1; j < band.samples; ++j) {
                drawing.sample(lattice.drawn_row_x(j), y, z[j]);
                drawing.apply_visibility(lattice.column(j, from_y1));
            }
        } else {
            const double x = lattice.drawn_column_x(c);
            const int from_x1 = lattice.x_place(c);
            drawing.sample(x, lattice.y1, z[0]);
            drawing.move();
            for (int j = 1; j < band.samples; ++j) {
                drawing.sample(x, lattice.drawn_column_y(c, j), z[j]);
                drawing.apply_visibility(lattice.column(from_x1, j));
            }
        }
    }
}

// A buffer that holds more than this many times what a page needs gives the rest back, so that
// a window does not keep a huge page's memory for the small pages after it. Frame after frame
// of a view moved by hand keeps one size; so does a page drawn again.
constexpr std::size_t spare_share = 16;

// Room in `buffer` for `size` values, in the storage it has where that suffices.
void make_room(std::vector<double>& buffer, std::size_t size) {
    if (buffer.capacity() / spare_share > size) {
        std::vector<double>().swap(buffer);
    }
    buffer.reserve(size);
}

std::size_t largest_band(const std::vector<CurveBand>& bands) {
    std::size_t largest = 0;
    for (const CurveBand& band : bands) {
        largest = std::max(largest, static_cast<std::size_t>(band.count) * band.samples);
    }
    return largest;
}

// Draws the bands in order, each while the next is evaluated beside it, in the storage's two
// band buffers.
void draw_bands(HiddenLineDrawing& drawing, const SampleLattice& lattice, FunctionXY& function,
                std::vector<CurveBand>& bands, HiddenLineStorage& storage,
                platform::Workers& workers) {
    const auto buffer = [&](std::size_t b) -> std::vector<double>& { return storage.bands[b % 2]; };
    if (bands.empty()) {
        return;
    }
    bands[0].z.swap(buffer(0));
    evaluate_band(bands[0], lattice, function, workers);
    for (std::size_t b = 0; b < bands.size(); ++b) {
        const auto draw = [&] { draw_band(drawing, lattice, bands[b]); };
        if (b + 1 < bands.size()) {
            bands[b + 1].z.swap(buffer(b + 1));
            workers.run_beside(draw,
                               [&] { evaluate_band(bands[b + 1], lattice, function, workers); });
        } else {
            draw();
        }
        bands[b].z.swap(buffer(b));
    }
}

}  // namespace

int underside_pen(int surface_pen) {
    return is_pen_number(surface_pen) && surface_pen >= dark_shade_offset
               ? surface_pen - dark_shade_offset
               : surface_pen;
}

void draw_hidden_lines(SurfacePlotter& plotter, FunctionXY& function, const SampleLattice& lattice,
                       const SurfaceView& view, int threads, CurveChoice curves) {
    HiddenLineStorage& storage = plotter.hidden_line_storage;
    FrontEdges edges{lattice, plan_bands(lattice, CurveFamily::columns, 0, 0).front(),
                     plan_bands(lattice, CurveFamily::rows, 0, 0).front()};
    std::vector<CurveBand> rows = plan_bands(lattice, CurveFamily::rows, 1, lattice.mesh.n);
    std::vector<CurveBand> columns = plan_bands(lattice, CurveFamily::columns, 1, lattice.mesh.m);
    // All of the page's memory is at hand before anything is drawn, so that a page either fits
    // or changes nothing.
    const auto column_count = static_cast<std::size_t>(lattice.column_count());
    make_room(storage.upper, column_count);
    make_room(storage.lower, column_count);
    make_room(storage.front_column, static_cast<std::size_t>(edges.x1.samples));
    make_room(storage.front_row, static_cast<std::size_t>(edges.y1.samples));
    for (std::vector<double>& band : storage.bands) {
        make_room(band, std::max(largest_band(rows), largest_band(columns)));
    }
    HiddenLineDrawing drawing(plotter, storage, lattice.column_count());
    platform::Workers workers(function.shared_evaluation() ? threads : 1);
    edges.x1.z.swap(storage.front_column);
    edges.y1.z.swap(storage.front_row);
    evaluate_band(edges.x1, lattice, function, workers);
    evaluate_band(edges.y1, lattice, function, workers);
    static_cast<SurfaceView&>(plotter) = view;
    const WorldWindow world = projected_box_window(plotter);
    plotter.set_world_window(world.left, world.right, world.bottom, world.top);
    platform::clear_upper_vector_state();
    const bool draw_rows = curves != CurveChoice::along_y;
    const bool draw_columns = curves != CurveChoice::along_x;
    front_edges(drawing, edges, {.column = draw_columns, .row = draw_rows});
    if (draw_rows) {
        draw_bands(drawing, lattice, function, rows, storage, workers);
    }
    // The rows have raised the horizons over the whole surface, and the curves of constant x
    // lie on that same surface, mostly at or below them: against those horizons they would
    // hardly show. So each family is hidden by its own curves alone, starting from the front
    // edges, which reset both horizons without being drawn again.
    front_edges(drawing, edges, {});
    if (draw_columns) {
        draw_bands(drawing, lattice, function, columns, storage, workers);
    }
    drawing.finish();
    edges.x1.z.swap(storage.front_column);
    edges.y1.z.swap(storage.front_row);
}

}  // namespace toven
