// The whole work of one plot, measured before it is drawn: a sample of the plot's own
// evaluations of f(x,y) is timed, and the lines between neighbouring samples are weighed by
// the pixels they set on the panel (or, on a device that keeps lines, by their number). A
// plot whose work exceeds max_plot_seconds is refused with a message that names the measured
// rate and what is too large.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "expr/surface_function.h"
#include "platform/refusal.h"
#include "surface/mesh.h"
#include "surface/surface_plan.h"

namespace toven {

// A plot is drawn inside one window message, so the program answers nothing until it ends:
// 3 s is as long as a click may keep a person waiting.
inline constexpr double max_plot_seconds = 3;

// Where a surface is drawn: its panel in device pixels and the width of its pens; `vector`
// for a device that keeps each line as it is (a printer's page) instead of setting pixels.
struct SurfacePanel {
    int width = 0;
    int height = 0;
    int pen_width = 1;
    bool vector = false;
};

// What a sample of a plot's evaluations showed: the time of one evaluation with its
// projection, and the projected step (h, v) from each sampled point to the next along its
// curve, in world units. The evaluations leave nothing behind, as every evaluation.
struct WorkSample {
    double seconds_per_evaluation = 0;
    std::vector<std::array<double, 2>> steps;
    int threads = 1;         // that will share the plot's evaluations
    double evaluations = 0;  // of the whole plot
};

// Times a few thousand evaluations of `function`, in short runs along the plot's own curves
// spread over the box, in drawing order, on the processor's clock; a slow formula is timed
// for a few hundredths of a second at most. Notes the threads that will evaluate the plot.
WorkSample sample_plot_work(FunctionXY& function, const SurfacePlan& plan);

// The seconds of the evaluations alone, which no panel changes, and of the whole plot drawn
// in `panel`. The evaluations are shared by the sample's threads; the drawing has one.
double evaluation_seconds(const WorkSample& sample);
double plot_seconds(const WorkSample& sample, const SurfacePlan& plan, const SurfacePanel& panel);

// Nothing when the evaluations alone fit in max_plot_seconds, else the refusal: such a plot
// is refused on every page and every device.
std::optional<platform::Refusal> evaluation_refusal(const WorkSample& sample);

// Nothing when the whole plot fits in max_plot_seconds, else the refusal. When the
// evaluations alone are too many it is evaluation_refusal's.
std::optional<platform::Refusal> plot_work_refusal(const WorkSample& sample,
                                                   const SurfacePlan& plan,
                                                   const SurfacePanel& panel);

}  // namespace toven
