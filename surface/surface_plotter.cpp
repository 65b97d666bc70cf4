#include "surface/surface_plotter.h"

#include <new>
#include <utility>
#include <variant>

#include "platform/programmer_error.h"
#include "plotter/colour_tables.h"
#include "surface/graph_parameters.h"
#include "surface/hidden_line.h"
#include "surface/lattice_heights.h"
#include "surface/sample_lattice.h"

namespace toven {

void SurfacePlotter::move_to_3d(double x, double y, double z) {
    move_to(project_h(x, y), project_v(x, y, z));
}

void SurfacePlotter::line_to_3d(double x, double y, double z) {
    line_to(project_h(x, y), project_v(x, y, z));
}

// The four edges at x1, the four at x2, then the four that join them.
void SurfacePlotter::draw_box(const Box& edges) {
    const auto [x1, x2, y1, y2, z1, z2] = edges;
    move_to_3d(x1, y1, z1);
    line_to_3d(x1, y2, z1);
    line_to_3d(x1, y2, z2);
    line_to_3d(x1, y1, z2);
    line_to_3d(x1, y1, z1);
    line_to_3d(x2, y1, z1);
    line_to_3d(x2, y2, z1);
    line_to_3d(x2, y2, z2);
    line_to_3d(x2, y1, z2);
    line_to_3d(x2, y1, z1);
    move_to_3d(x1, y2, z1);
    line_to_3d(x2, y2, z1);
    move_to_3d(x1, y2, z2);
    line_to_3d(x2, y2, z2);
    move_to_3d(x1, y1, z2);
    line_to_3d(x2, y1, z2);
}

std::optional<platform::Refusal> SurfacePlotter::draw_surface(FunctionXY& function,
                                                              SurfacePlan plan) {
    drawn_surface.reset();
    marker.forget();
    TOVEN_EXPECT(dc != nullptr, "draw_surface draws between begin_output and end_output");
    const int surface_pen = pen_number;
    try {
        draw_hidden_lines(*this, function, plan.lattice, plan.view, page_threads(plan.request.mesh),
                          plan.request.curves);
    } catch (const std::bad_alloc&) {
        return platform::Refusal{
            "There is not enough memory for a mesh this large: lower n, m or k."};
    }
    drawn_surface =
        DrawnSurface{*this, std::move(plan.lattice), PanelMapping::of(*this), surface_pen};
    return std::nullopt;
}

std::optional<platform::Refusal> SurfacePlotter::draw_surface(FunctionXY& function,
                                                              const SurfaceRequest& request) {
    auto plan = plan_surface(request);
    if (auto* refusal = std::get_if<platform::Refusal>(&plan)) {
        drawn_surface.reset();
        marker.forget();
        return std::move(*refusal);
    }
    return draw_surface(function, std::get<SurfacePlan>(std::move(plan)));
}

namespace {

constexpr int frame_box_pen = pen_dark_blue;
constexpr int z_axis_pen = pen_green;
constexpr int y_axis_pen = pen_cyan;
constexpr int x_axis_pen = pen_blue;

}  // namespace

void draw_frame_box(SurfacePlotter& plotter) {
    const int pen = plotter.pen_number;
    plotter.select_pen(frame_box_pen);
    plotter.draw_box(plotter.box);
    plotter.select_pen(pen);
}

// Through the origin whether or not it lies inside the box; the panel's clip region cuts them.
void draw_axes(SurfacePlotter& plotter) {
    const int pen = plotter.pen_number;
    const auto [x1, x2, y1, y2, z1, z2] = plotter.box;
    plotter.select_pen(z_axis_pen);
    plotter.move_to_3d(0, 0, z1);
    plotter.line_to_3d(0, 0, z2);
    plotter.select_pen(y_axis_pen);
    plotter.move_to_3d(0, y1, 0);
    plotter.line_to_3d(0, y2, 0);
    plotter.select_pen(x_axis_pen);
    plotter.move_to_3d(x1, 0, 0);
    plotter.line_to_3d(x2, 0, 0);
    plotter.select_pen(pen);
}

std::optional<platform::Refusal> draw_weighed_surface(SurfacePlotter& plotter, FunctionXY& function,
                                                      SurfacePlan plan, const SurfacePanel& panel,
                                                      int fc, int ax) {
    const WorkSample sample = sample_plot_work(function, plan);
    if (auto refusal = plot_work_refusal(sample, plan, panel)) {
        return refusal;
    }
    if (auto refusal = plotter.draw_surface(function, std::move(plan))) {
        return refusal;
    }
    if (fc == switch_on) {
        draw_frame_box(plotter);
    }
    if (ax == switch_on) {
        draw_axes(plotter);
    }
    return std::nullopt;
}

}  // namespace toven
