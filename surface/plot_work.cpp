#include "surface/plot_work.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "surface/plot_limits.h"

namespace toven {

namespace {

// Each weight is the slowest case measured for its part, so a plot within the limit takes
// at most about max_plot_work whatever its formula and its surface.

// Per evaluation, beside the formula's own steps: the call, the projection and the horizon
// test take tens of nanoseconds, but an evaluation error raised and caught takes about
// 1.4 us, and a formula that divides or takes a log or a root may raise one at every sample.
constexpr double sample_work = 1500;
// Per step of the formula's program: a sine or tangent of a huge argument takes about
// 110 ns, which with the three steps that make its argument is about 35 ns a step.
constexpr double step_work = 35;
// Per line drawn, beside its pixels: where the two sides of a surface alternate, the pen
// changes with every line.
constexpr double line_work = 150;
// Per pixel of a line: a line crosses a row of the picture at each of its pixels, and the
// larger the panel the fewer of its rows the caches hold. One-pixel lines cost 1.6 ns a
// pixel in an 800 x 600 picture and 8.9 ns in one of 8000 x 8000.
constexpr double pixel_work = 1.5;
constexpr double pixel_work_per_panel_side = 1.3e-3;  // per pixel of the panel's mean side
// A wide line's further units of width lie beside its pixels, in rows already at hand: each
// costs about half a pixel (a line three pixels wide, 15 ns a pixel of its length at most).
constexpr double extra_width_share = 0.5;
// Per line on a device that keeps lines (a printer's page), whatever their length: a PDF
// page takes about 0.9 us a line, and the print queue's own work comes after the plot.
constexpr double vector_line_work = 2000;

// The pixels of one line, at most: a line joins two samples on neighbouring page columns,
// so it runs across at most one column's width and, within the panel's clip, at most the
// panel's height.
double line_pixels(const Mesh& mesh, const SurfacePanel& panel) {
    const auto [n, m, k] = mesh;
    const double column_width = panel.width / std::max(1.0, (static_cast<double>(n) + m) * k);
    const double width = 1 + extra_width_share * (std::max(1, panel.pen_width) - 1);
    return (panel.height + column_width + 2) * width;
}

double line_cost(const Mesh& mesh, const SurfacePanel& panel) {
    if (panel.vector) {
        return vector_line_work;
    }
    const double mean_side = std::sqrt(static_cast<double>(panel.width) * panel.height);
    const double per_pixel = pixel_work + pixel_work_per_panel_side * mean_side;
    return line_work + per_pixel * line_pixels(mesh, panel);
}

}  // namespace

// Every sample draws at most one line, so there are no more lines than evaluations.
double plot_work(const Mesh& mesh, std::size_t steps, const SurfacePanel& panel) {
    const double per_evaluation = sample_work + step_work * static_cast<double>(steps);
    return evaluation_count(mesh) * (per_evaluation + line_cost(mesh, panel));
}

std::optional<platform::Refusal> plot_work_refusal(const Mesh& mesh, std::size_t steps,
                                                   const SurfacePanel& panel) {
    const double work = plot_work(mesh, steps, panel);
    if (work <= max_plot_work) {
        return std::nullopt;
    }
    char text[400];
    std::snprintf(text, sizeof text,
                  "The plot is too large: %.0f evaluations of f(x,y) (a formula of %zu steps), "
                  "drawn in a panel %d pixels high, could take %.1f s, at most %.0f s. Lower n, "
                  "m or k, shorten the formula or draw a smaller picture.",
                  evaluation_count(mesh), steps, panel.height, work * 1e-9, max_plot_work * 1e-9);
    return platform::Refusal{text};
}

}  // namespace toven
