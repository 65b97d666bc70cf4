#include "surface/plot_work.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/parallel.h"
#include "surface/evaluation_run.h"
#include "surface/lattice_heights.h"
#include "surface/plot_limits.h"
#include "surface/sample_lattice.h"
#include "surface/surface_view.h"

namespace toven {

namespace {

// The sample: runs of consecutive samples along the curves, half of them on the curves of
// constant y and half on those of constant x, spread evenly over each family in the order it
// is drawn. Some 4,300 evaluations take a fraction of a millisecond for a short formula; a
// formula slow enough to reach max_sampling_seconds is timed on fewer.
constexpr int sample_runs = 256;
constexpr int run_length = 16;
constexpr double max_sampling_seconds = 0.03;

// Per sample, beside its evaluation and projection: the horizon test and the pen's
// bookkeeping, a few nanoseconds measured.
constexpr double drawing_seconds_per_sample = 10e-9;

// Per line drawn, beside its pixels: where the two sides of a surface alternate, the pen
// changes with every line.
constexpr double seconds_per_line = 150e-9;
// Per pixel of a line: a line crosses a row of the picture at each of its pixels, and the
// larger the panel the fewer of its rows the caches hold. One-pixel lines cost 1.6 ns a
// pixel in an 800 x 600 picture and 8.9 ns in one of 8000 x 8000.
constexpr double seconds_per_pixel = 1.5e-9;
constexpr double seconds_per_pixel_per_panel_side = 1.3e-12;  // per pixel of the mean side
// A wide line's further units of width lie beside its pixels, in rows already at hand: each
// costs about half a pixel.
constexpr double extra_width_share = 0.5;
// Per line on a device that keeps lines (a printer's page), whatever its length: a PDF page
// takes about 0.9 us a line, and the print queue's own work comes after the plot.
constexpr double seconds_per_vector_line = 2e-6;

// The processor time of the sampling thread, not the wall clock: on a busy machine other
// programs' turns would count as the formula's, and a shared machine would refuse what it draws
// at once. Nor the whole program's: pages weighed side by side (a sweep's frames) would each
// count the others' time too.
double processor_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Evaluates and projects samples one after another along a curve, keeping the projected step
// from each to the next.
class SampleRun {
  public:
    SampleRun(FunctionXY& function, const SurfaceView& view, WorkSample& sample)
        : evaluate_(function), view_(view), sample_(sample) {}

    void start(double x, double y) { project(x, y); }
    void go_on(double x, double y) {
        const double h = h_;
        const double v = v_;
        project(x, y);
        sample_.steps.push_back({h_ - h, v_ - v});
    }
    long evaluations() const { return evaluations_; }

  private:
    void project(double x, double y) {
        const double z = evaluate_(x, y);
        h_ = view_.project_h(x, y);
        v_ = view_.project_v(x, y, z);
        ++evaluations_;
    }

    EvaluationRun evaluate_;
    const SurfaceView& view_;
    WorkSample& sample_;
    double h_ = 0;
    double v_ = 0;
    long evaluations_ = 0;
};

// The first sample of run r of `runs` spread over `curves` curves of `length` samples each,
// in drawing order: the curve (from 1) and the step along it where a run of `run` steps
// starts.
std::array<int, 2> run_start(int r, int runs, int curves, int length, int run) {
    const long long position = static_cast<long long>(r) * curves * length / runs;
    const int curve = 1 + static_cast<int>(position / length);
    const int step = std::min(static_cast<int>(position % length), length - 1 - run);
    return {curve, step};
}

double elapsed_seconds(double since) {
    return processor_seconds() - since;
}

// Reading the thread's clock is a system call that costs about as much as a run of a short
// formula's evaluations, so the sampling time is read every few runs.
constexpr int runs_between_clock_reads = 8;

bool sampling_time_left(int r, double start) {
    return r % runs_between_clock_reads != 0 || elapsed_seconds(start) < max_sampling_seconds;
}

// The cost of the line that a step of (dh, dv) in world units draws in `panel`. A step within
// one device pixel mostly lands on the pixel it left, and such a line is left out: it is
// counted in the share of a line that its length is of a pixel.
double line_seconds(const std::array<double, 2>& step, double pixels_per_h, double pixels_per_v,
                    double longest_line, const SurfacePanel& panel) {
    const double across = std::fabs(step[0]) * pixels_per_h;
    const double up = std::fabs(step[1]) * pixels_per_v;
    const double pixels = std::isfinite(up) ? std::min(std::max(across, up), longest_line) : 0;
    const double share = std::min(1.0, across + up);
    if (panel.vector) {
        return share * seconds_per_vector_line;
    }
    const double mean_side = std::sqrt(static_cast<double>(panel.width) * panel.height);
    const double per_pixel = seconds_per_pixel + seconds_per_pixel_per_panel_side * mean_side;
    const double width = 1 + extra_width_share * (std::max(1, panel.pen_width) - 1);
    return share * seconds_per_line + per_pixel * pixels * width;
}

double lines_seconds(const WorkSample& sample, const SurfacePlan& plan, const SurfacePanel& panel) {
    // A panel of no pixels (a minimised window) sets none.
    const bool no_pixels = !panel.vector && (panel.width <= 0 || panel.height <= 0);
    if (sample.steps.empty() || no_pixels) {
        return 0;
    }
    const WorldWindow world = projected_box_window(plan.view);
    const double pixels_per_h = panel.width / std::fabs(world.right - world.left);
    const double pixels_per_v = panel.height / std::fabs(world.top - world.bottom);
    // A line joins neighbouring page columns and the panel's clip cuts it to the panel.
    const double columns = plan.lattice.column_count();
    const double column_width = panel.width / std::max(1.0, columns - 1);
    const double longest_line = panel.height + column_width + 2;
    double total = 0;
    for (const auto& step : sample.steps) {
        total += line_seconds(step, pixels_per_h, pixels_per_v, longest_line, panel);
    }
    return total / static_cast<double>(sample.steps.size());
}

// "25.3 million" evaluations a second, "812 thousand" or "95.1".
std::string rate_text(double per_second) {
    char text[40];
    if (per_second >= 1e6) {
        std::snprintf(text, sizeof text, "%.3g million", per_second * 1e-6);
    } else if (per_second >= 1e3) {
        std::snprintf(text, sizeof text, "%.3g thousand", per_second * 1e-3);
    } else {
        std::snprintf(text, sizeof text, "%.3g", per_second);
    }
    return text;
}

platform::Refusal work_refusal(const WorkSample& sample, const char* drawn_in, double seconds,
                               const char* advice) {
    char threads[40] = "";
    if (sample.threads > 1) {
        std::snprintf(threads, sizeof threads, " on each of %d threads", sample.threads);
    }
    char text[400];
    std::snprintf(text, sizeof text,
                  "The plot is too large: %.0f evaluations of f(x,y), at %s a second as measured "
                  "here%s%s, could take %.1f s, at most %.0f s. %s",
                  sample.evaluations, rate_text(1 / sample.seconds_per_evaluation).c_str(), threads,
                  drawn_in, seconds, max_plot_seconds, advice);
    return {text};
}

}  // namespace

WorkSample sample_plot_work(FunctionXY& function, const SurfacePlan& plan) {
    const Mesh& mesh = plan.request.mesh;
    const SampleLattice& lattice = plan.lattice;
    const SurfaceView& view = plan.view;
    const int along_x = lattice.row_steps();
    const int along_y = lattice.column_steps();
    WorkSample sample;
    sample.evaluations = lattice.evaluation_count();
    sample.steps.reserve(sample_runs * run_length);
    SampleRun run(function, view, sample);
    const double start = processor_seconds();
    const int runs = sample_runs / 2;
    for (int r = 0; r < runs && sampling_time_left(r, start); ++r) {
        const int length = std::min(run_length, along_x);
        const auto [i, from] = run_start(r, runs, mesh.n, along_x + 1, length);
        const double y = lattice.row_y(i);
        run.start(lattice.row_x(from), y);
        for (int j = from + 1; j <= from + length; ++j) {
            run.go_on(lattice.row_x(j), y);
        }
    }
    for (int r = 0; r < runs && sampling_time_left(r, start); ++r) {
        const int length = std::min(run_length, along_y);
        const auto [l, from] = run_start(r, runs, mesh.m, along_y + 1, length);
        const double x = lattice.column_x(l);
        run.start(x, lattice.column_y(l, from));
        for (int j = from + 1; j <= from + length; ++j) {
            run.go_on(x, lattice.column_y(l, j));
        }
    }
    sample.seconds_per_evaluation = elapsed_seconds(start) / static_cast<double>(run.evaluations());
    // Threads beyond the processors take turns on them and finish no sooner.
    sample.threads = function.shared_evaluation()
                         ? std::min(page_threads(mesh), platform::allowed_processors())
                         : 1;
    return sample;
}

double evaluation_seconds(const WorkSample& sample) {
    const double threads = std::max(1, sample.threads);
    return sample.evaluations *
           (sample.seconds_per_evaluation / threads + drawing_seconds_per_sample);
}

// Every sample draws at most one line, so there are no more lines than evaluations.
double plot_seconds(const WorkSample& sample, const SurfacePlan& plan, const SurfacePanel& panel) {
    return evaluation_seconds(sample) + sample.evaluations * lines_seconds(sample, plan, panel);
}

std::optional<platform::Refusal> evaluation_refusal(const WorkSample& sample) {
    const double seconds = evaluation_seconds(sample);
    if (seconds <= max_plot_seconds) {
        return std::nullopt;
    }
    return work_refusal(sample, "", seconds, "Lower n, m or k or shorten the formula.");
}

std::optional<platform::Refusal> plot_work_refusal(const WorkSample& sample,
                                                   const SurfacePlan& plan,
                                                   const SurfacePanel& panel) {
    if (auto refusal = evaluation_refusal(sample)) {
        return refusal;
    }
    const double seconds = plot_seconds(sample, plan, panel);
    if (seconds <= max_plot_seconds) {
        return std::nullopt;
    }
    char drawn_in[80];
    if (panel.vector) {
        std::snprintf(drawn_in, sizeof drawn_in, " with their lines on a printed page");
    } else {
        std::snprintf(drawn_in, sizeof drawn_in, " with their lines in a panel of %d x %d pixels",
                      panel.width, panel.height);
    }
    return work_refusal(sample, drawn_in, seconds,
                        "Lower n, m or k, shorten the formula or draw a smaller picture.");
}

}  // namespace toven
