// The slowest plots the limits allow: for each hard formula and page, the largest mesh whose
// measured work is within max_plot_seconds, drawn whole by draw_plot as `toven --render` draws
// it. Each should take about 3 s at most; counters show the mesh and what the measurement
// predicted. Plots beyond the limits are timed too: their refusal must come at once.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/files/data_file.h"
#include "app/window/app_state.h"
#include "expr/surface_function.h"
#include "platform/application.h"
#include "platform/window.h"
#include "surface/graph_parameters.h"
#include "surface/plot_driver.h"
#include "surface/plot_limits.h"
#include "surface/plot_work.h"
#include "surface/surface_plan.h"

namespace toven {
namespace {

// The surface jumps between its two sides at nearly every sample, so nearly every sample
// draws a line across the panel (a sine of 99999 x y changes its sign there).
const std::string jumping = "(2+y+x)*(sin(99999*x*y)/|sin(99999*x*y)|)";
// The same lines, but from far above the panel to far below it: each is cut at the panel.
const std::string jumping_far = "1e9*(2+y+x)*(sin(99999*x*y)/|sin(99999*x*y)|)";
// Half of the samples raise a division error (f is then 0), the others lie far above.
const std::string errors_and_jumps = "1e9*(2+y+x)/(sin(99999*x*y)/|sin(99999*x*y)|+1)";

// `term` joined by "+" up to the longest formula: each term a step or a few.
std::string longest_formula(const std::string& term) {
    std::string formula = term;
    while (formula.size() + 1 + term.size() <= 99'996) {
        formula += "+" + term;
    }
    return formula;
}

struct WorkCase {
    std::string name;
    std::string formula;
    std::vector<std::string> items;  // more NAME=VALUE items
    int width = 800;
    int height = 600;
    bool print_layout = false;
    bool grow = true;  // k grown to the largest the limit allows; else the items' mesh as is
};

std::vector<WorkCase> work_cases() {
    const std::vector<std::string> hundred = {"n=100", "m=100", "z1=-3", "z2=3"};
    return {
        {"JumpingSurface", jumping, hundred},
        {"JumpingFarBeyondThePanel", jumping_far, hundred},
        {"JumpingOn8000x8000", jumping_far, hundred, 8000, 8000},
        {"JumpingOn8000x8000PrintLayout", jumping_far, hundred, 8000, 8000, true},
        {"ErrorsAndJumps", errors_and_jumps, hundred},
        {"DefaultFormula", "sin(|x|^a  + |y|^b)", {"n=100", "m=100"}},
        {"DivisionErrorAtEverySample", "1/0", {"n=100", "m=100"}},
        {"JumpingOn1600x1200", jumping_far, hundred, 1600, 1200},
        {"JumpingOn4000x4000", jumping_far, hundred, 4000, 4000},
        {"LongestFormulaOfHugeSines", longest_formula("sin(1e300*x)"), {"n=1", "m=1"}},
        {"LongestFormulaOfSums", longest_formula("x"), {"n=1", "m=1"}},
        {"LongestFormulaOfDivisionErrors", "1/0+" + longest_formula("x"), {"n=1", "m=1"}},
        // The dense page, twenty times the default mesh in each direction.
        {"DefaultFormulaM800N400K20",
         "sin(|x|^a  + |y|^b)",
         {"m=800", "n=400", "k=20"},
         800,
         600,
         false,
         false},
        // Beyond the limits: refused before anything is drawn.
        {"RefusedJumpingAtK980",
         jumping,
         {"n=100", "m=100", "k=980", "z1=-3", "z2=3"},
         800,
         600,
         false,
         false},
        {"RefusedLongestFormulaOnTheDefaultMesh", longest_formula("x"), {}, 800, 600, false, false},
    };
}

struct Page {
    explicit Page(const WorkCase& c) {
        set("f(x,y)=" + c.formula);
        for (const std::string& item : c.items) {
            set(item);
        }
        context.print_layout = c.print_layout;
    }
    void set(const std::string& item) {
        if (const auto refusal = apply_assignment(app, item)) {
            throw std::runtime_error(refusal->message);
        }
    }

    // The surface panel as the plot will open it.
    SurfacePanel panel(bool print_layout) {
        plotter.set_pen_width(print_layout ? 3 : 1);
        plotter.begin_output(screen_output);
        plotter.set_viewport(5, 75, print_layout ? 20 : 5, 75, clip_on);
        const SurfacePanel open{plotter.vp_width, plotter.vp_height, plotter.pen_width, false};
        plotter.end_output();
        return open;
    }
    // A sample of the formula's evaluations over `plan`, as the plot takes it.
    WorkSample sample(const SurfacePlan& plan) {
        function.compile();
        function.load_parameters();
        return sample_plot_work(function, plan);
    }

    AppState app;
    std::unique_ptr<platform::Window> window;
    SurfacePlotter plotter{nullptr};
    SurfaceFunction function{app.fdata};
    PlotContext context{plotter,          function, app.fdata, app.sdata, app.graph_parameters,
                        app.readout_ready};
};

// The largest k at which the plot is still allowed.
int largest_allowed_k(Page& page, const GraphParameters& g, const SurfacePanel& panel) {
    int low = 1;
    int high = 1 << 22;
    while (low < high) {
        const int k = low + (high - low + 1) / 2;
        const Mesh mesh{.n = g.n, .m = g.m, .k = k};
        const auto plan = plan_surface({g.box(), mesh, g.tilt});
        const auto* planned = std::get_if<SurfacePlan>(&plan);
        const bool allowed =
            planned != nullptr && !plot_work_refusal(page.sample(*planned), *planned, panel);
        if (allowed) {
            low = k;
        } else {
            high = k - 1;
        }
    }
    return low;
}

void BM_SlowestPlot(benchmark::State& state, const WorkCase& c) {
    auto window = platform::create_offscreen_window(c.width, c.height,
                                                    platform::OffscreenRecording::image_only);
    Page page(c);
    page.plotter.window = window.get();
    const SurfacePanel panel = page.panel(c.print_layout);
    GraphParameters g = load_graph_parameters(page.app.sdata);
    if (c.grow) {
        g.k = largest_allowed_k(page, g, panel);
        page.set("k=" + std::to_string(g.k));
    }
    const SurfacePlan plan = std::get<SurfacePlan>(plan_surface(g.surface()));
    const WorkSample sample = page.sample(plan);
    std::optional<platform::Refusal> refusal;
    for (auto _ : state) {
        refusal = draw_plot(page.context, plot_page, screen_output);
    }
    page.plotter.end_output();
    state.counters["k"] = g.k;
    state.counters["evaluations"] = evaluation_count(g.mesh());
    state.counters["evaluations_per_s"] = 1 / sample.seconds_per_evaluation;
    state.counters["predicted_s"] = plot_seconds(sample, plan, panel);
    state.counters["refused"] = refusal ? 1 : 0;
}

}  // namespace
}  // namespace toven

int main(int argc, char** argv) {
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::headless);
    for (const toven::WorkCase& c : toven::work_cases()) {
        benchmark::RegisterBenchmark(("BM_SlowestPlot/" + c.name).c_str(), toven::BM_SlowestPlot, c)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
