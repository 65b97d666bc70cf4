// The surface plot: one whole page, the hidden-line drawing at growing meshes against the
// evaluations of f alone at the same samples, and mouse readouts over the mini grid and over
// the surface.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/files/data_file.h"
#include "app/window/app_state.h"
#include "expr/item_table.h"
#include "expr/surface_function.h"
#include "platform/application.h"
#include "platform/parallel.h"
#include "platform/window.h"
#include "surface/hidden_line.h"
#include "surface/mini_grid.h"
#include "surface/plot_driver.h"
#include "surface/plot_limits.h"
#include "surface/visible_point.h"

namespace toven {
namespace {

constexpr int page_width = 800;
constexpr int page_height = 600;

// The default mesh (n 20, m 40, k 20) with its sides grown by `factor`: factor^2 the samples.
Mesh grown_mesh(int factor) {
    return factor == 0 ? Mesh{1, 1, 1} : Mesh{20 * factor, 40 * factor, 20};
}

struct Page {
    explicit Page(int width = page_width, int height = page_height)
        : window(platform::create_offscreen_window(width, height,
                                                   platform::OffscreenRecording::image_only)) {}
    AppState app;
    std::unique_ptr<platform::Window> window;
    SurfacePlotter plotter{window.get()};
    SurfaceFunction function{app.fdata};
    PlotContext context{plotter,          function, app.fdata, app.sdata, app.graph_parameters,
                        app.readout_ready};
};

// Each iteration draws on a fresh picture, as `toven --render` does.
void BM_DrawPlot(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page>();
        state.ResumeTiming();
        benchmark::DoNotOptimize(draw_plot(page->context, plot_page, screen_output));
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DrawPlot)->Unit(benchmark::kMillisecond);

// The surface panel of a screen plot, open with the plot colour 13 and the formula compiled.
void open_surface_panel(Page& page) {
    page.plotter.begin_output(screen_output);
    page.plotter.set_colours(6, 2, 13, 1);
    page.plotter.set_viewport(5, 75, 5, 75, clip_on);
    page.plotter.frame_viewport(6);
    page.function.compile();
    page.function.load_parameters();
}

void BM_DrawSurface(benchmark::State& state) {
    const Mesh mesh = grown_mesh(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page>();
        open_surface_panel(*page);
        state.ResumeTiming();
        page->plotter.draw_surface(page->function, {{-1, 1, -1, 1, -0.2, 1.2}, mesh, 15});
        page->plotter.end_output();  // draws the lines still held back
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    state.counters["samples"] = evaluation_count(mesh);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(evaluation_count(mesh)));
}
BENCHMARK(BM_DrawSurface)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// f at the same samples as draw_surface, in the same order, and nothing else.
double evaluate_samples(FunctionXY& f, const Mesh& mesh) {
    const double x1 = -1, x2 = 1, y1 = -1, y2 = 1;
    const double mesh_dx = (x2 - x1) / mesh.m, mesh_dy = (y2 - y1) / mesh.n;
    const double step_dx = mesh_dx / mesh.k, step_dy = mesh_dy / mesh.k;
    const int nk = mesh.n * mesh.k, mk = mesh.m * mesh.k;
    double sum = f.evaluate(x1, y2);
    for (int i = 1; i <= nk; ++i) {
        sum += f.evaluate(x1, y2 - i * step_dy);
    }
    for (int j = 1; j <= mk; ++j) {
        sum += f.evaluate(x1 + j * step_dx, y1);
    }
    for (int i = 1; i <= mesh.n; ++i) {
        for (int j = 0; j <= mk; ++j) {
            sum += f.evaluate(x1 + j * step_dx, y1 + i * mesh_dy);
        }
    }
    for (int l = 1; l <= mesh.m; ++l) {
        for (int j = 0; j <= nk; ++j) {
            sum += f.evaluate(x1 + l * mesh_dx, y1 + j * step_dy);
        }
    }
    return sum;
}

void BM_EvaluateSamples(benchmark::State& state) {
    const DataTable fdata = default_table(TableName::fdata);
    SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    const Mesh mesh = grown_mesh(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluate_samples(function, mesh));
    }
    state.counters["samples"] = evaluation_count(mesh);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(evaluation_count(mesh)));
}
BENCHMARK(BM_EvaluateSamples)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// A surface drawn with its heights evaluated on range(1) threads, for the default mesh with
// its sides grown by range(0) / 4: where sharing a page starts to pay, and the curve of the
// dense page 801 by 401 with k 20 (range(0) 80) up to every thread the machine has. The real
// time is what a person waits for; the CPU time is the whole process's, every thread's.
void BM_SurfaceOnThreads(benchmark::State& state) {
    const int quarters = static_cast<int>(state.range(0));
    const Mesh mesh{std::max(1, 20 * quarters / 4), std::max(1, 40 * quarters / 4), 20};
    const SampleLattice lattice{-1, 1, -1, 1, mesh};
    const SurfaceView view = make_view({{-1, 1, -1, 1, -0.2, 1.2}, mesh, 15}, lattice);
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page>();
        open_surface_panel(*page);
        state.ResumeTiming();
        draw_hidden_lines(page->plotter, page->function, lattice, view,
                          static_cast<int>(state.range(1)));
        page->plotter.end_output();
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    state.counters["samples"] = evaluation_count(mesh);
}
void surface_thread_counts(benchmark::internal::Benchmark* benchmark) {
    const int most = platform::usable_threads();
    for (int quarters : {2, 3, 4, 6, 8}) {
        benchmark->Args({quarters, 1})->Args({quarters, 2});
    }
    for (int threads = 1; threads <= most; threads = threads < 2 ? 2 : threads * 2) {
        benchmark->Args({80, threads});
    }
    if (most > 2 && (most & (most - 1)) != 0) {
        benchmark->Args({80, most});
    }
}
BENCHMARK(BM_SurfaceOnThreads)
    ->Apply(surface_thread_counts)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void BM_Readout(benchmark::State& state) {
    Page page;
    draw_plot(page.context, plot_page, screen_output);
    page.context.mouse_x = 700;
    page.context.mouse_y = 213;
    for (auto _ : state) {
        benchmark::DoNotOptimize(draw_plot(page.context, plot_readout, screen_output));
    }
}
BENCHMARK(BM_Readout)->Unit(benchmark::kMicrosecond);

// A mouse move over the surface of a dense page, 801 by 401 with k 20 on 1600x1200, marker
// included: the point seen is looked for along the view ray through the pixel. The moves go
// down the middle of the surface panel, where the rays are longest: on the surface (state 0),
// or only above it, where a ray crosses the whole box and finds nothing (state 1).
// Drawn once, on first use, and released before the session ends. Where the plot's work bound
// refuses the page, its surface and mini grid are drawn as the driver draws them, so that
// the readouts find the page a plot would leave.
std::unique_ptr<Page> dense_page;

Page& dense() {
    if (dense_page == nullptr) {
        dense_page = std::make_unique<Page>(1600, 1200);
        Page& page = *dense_page;
        for (const char* item : {"m=801", "n=401", "k=20"}) {
            apply_assignment(page.app, item);
        }
        if (draw_plot(page.context, plot_page, screen_output)) {
            open_surface_panel(page);
            page.plotter.draw_surface(page.function,
                                      {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{401, 801, 20}, 15});
            draw_mini_grid(page.plotter, -1, 1, -1, 1);
            page.app.readout_ready = true;
        }
    }
    return *dense_page;
}

void BM_ReadoutOverSurface(benchmark::State& state) {
    Page* const page = &dense();
    if (!page->plotter.drawn_surface) {
        state.SkipWithError("the dense page has no surface");
        return;
    }
    const DrawnSurface& surface = *page->plotter.drawn_surface;
    const platform::Rect panel = surface.panel.viewport;
    const int middle = (panel.left + panel.right) / 2;
    std::vector<platform::Point> moves;
    for (int y = panel.top; y < panel.bottom; ++y) {
        const bool on_surface = visible_point(surface, page->function, {middle, y}).has_value();
        if (on_surface == (state.range(0) == 0)) {
            moves.push_back({middle, y});
        }
    }
    std::size_t next = 0;
    for (auto _ : state) {
        page->context.mouse_x = moves[next].x;
        page->context.mouse_y = moves[next].y;
        next = (next + 1) % moves.size();
        benchmark::DoNotOptimize(draw_plot(page->context, plot_readout, screen_output));
    }
    state.counters["moves"] = static_cast<double>(moves.size());
}
BENCHMARK(BM_ReadoutOverSurface)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace toven

int main(int argc, char** argv) {
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::headless);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    toven::dense_page.reset();
    return 0;
}
