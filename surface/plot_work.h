// The whole work of one plot, weighed before it is drawn: each evaluation of f(x,y) by the
// length of the formula's program, each line by the pixels it can set on its device. A plot
// whose work exceeds max_plot_work is refused with a message that names what is too large.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/refusal.h"

#include "surface/mesh.h"

namespace toven {

// A plot is drawn inside one window message, so the program answers nothing until it ends.
// Work is counted in nanoseconds of the slowest cases measured on a 2-core machine (the
// benchmarks of bench/bench_plot_work.cpp); 3 s is as long as a click may keep a person
// waiting, and it bounds the mesh to about a million evaluations of a short formula.
inline constexpr double max_plot_work = 3e9;

// Where a surface is drawn: its panel in device pixels and the width of its pens; `vector`
// for a device that keeps each line as it is (a printer's page) instead of setting pixels.
struct SurfacePanel {
    int width = 0;
    int height = 0;
    int pen_width = 1;
    bool vector = false;
};

// The work of a surface of m by n mesh intervals with k steps, for a formula whose compiled
// program runs `steps` steps, drawn in `panel`: nanoseconds at the slowest.
double plot_work(const Mesh& mesh, std::size_t steps, const SurfacePanel& panel);

// Nothing when plot_work is within max_plot_work, else the refusal to draw it.
std::optional<platform::Refusal> plot_work_refusal(const Mesh& mesh, std::size_t steps,
                                                   const SurfacePanel& panel);

}  // namespace toven
