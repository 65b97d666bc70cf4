// A page's evaluations against the same formula compiled natively, in one process that has
// gone through the program's own start-up and draws pages as `toven --render` does. The page's
// cost per evaluation is the difference between the default formula's page and the page of
// f = 0, over the evaluations; the native cost is a C++ loop over the same samples in the same
// order. The counters also tell whether the upper halves of the vector registers were in use
// (XINUSE, from xgetbv with ECX = 1) where the evaluations begin: that state, left by a library,
// makes the maths library pay an AVX-SSE transition penalty on some CPUs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <memory>

#include "app/files/data_file.h"
#include "app/window/app_state.h"
#include "expr/surface_function.h"
#include "platform/application.h"
#include "platform/vector_state.h"
#include "platform/window.h"
#include "surface/plot_driver.h"
#include "surface/plot_limits.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace toven {
namespace {

const Mesh page_mesh{.n = 100, .m = 200, .k = 20};

#if defined(__x86_64__)
bool can_read_in_use_state() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid_count(0xd, 1, &a, &b, &c, &d) != 0 && (a & 4) != 0;
}
// 1 when the upper halves of ymm0..15 are in use, 0 when not, -1 when the CPU cannot tell.
int upper_state_in_use() {
    if (!can_read_in_use_state()) {
        return -1;
    }
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & 4) != 0 ? 1 : 0;
}
// What a vector routine that skips vzeroupper leaves behind. Not compiled for AVX, so that the
// compiler adds no vzeroupper of its own; run only on CPUs with AVX.
void dirty_upper_state() {
    if (__builtin_cpu_supports("avx")) {
        __asm__ volatile("vpcmpeqd %%ymm15, %%ymm15, %%ymm15" ::: "xmm15");
    }
}
#else
int upper_state_in_use() {
    return -1;
}
void dirty_upper_state() {}
#endif

double processor_seconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// The default formula at the samples of the page, in the order the page draws them.
double native_page_samples() {
    const double x1 = -1, x2 = 1, y1 = -1, y2 = 1;
    const auto [n, m, k] = page_mesh;
    const double mesh_dx = (x2 - x1) / m, mesh_dy = (y2 - y1) / n;
    const double step_dx = mesh_dx / k, step_dy = mesh_dy / k;
    auto f = [](double x, double y) {
        return std::sin(std::pow(std::fabs(x), 3) + std::pow(std::fabs(y), 3));
    };
    double sum = 0;
    for (int pass = 0; pass < 2; ++pass) {
        sum += f(x1, y2);
        for (int i = 1; i <= n * k; ++i) {
            sum += f(x1, y2 - i * step_dy);
        }
        for (int j = 1; j <= m * k; ++j) {
            sum += f(x1 + j * step_dx, y1);
        }
        if (pass == 0) {
            for (int i = 1; i <= n; ++i) {
                for (int j = 0; j <= m * k; ++j) {
                    sum += f(x1 + j * step_dx, y1 + i * mesh_dy);
                }
            }
        } else {
            for (int l = 1; l <= m; ++l) {
                for (int j = 0; j <= n * k; ++j) {
                    sum += f(x1 + l * mesh_dx, y1 + j * step_dy);
                }
            }
        }
    }
    return sum;
}

// Draws the page of `formula` on the dense mesh as `toven --render` does; processor seconds.
double page_seconds(const char* formula, bool dirty_first) {
    AppState app;
    apply_assignment(app, std::string("f(x,y)=") + formula);
    apply_assignment(app, "m=" + std::to_string(page_mesh.m));
    apply_assignment(app, "n=" + std::to_string(page_mesh.n));
    apply_assignment(app, "k=" + std::to_string(page_mesh.k));
    auto window =
        platform::create_offscreen_window(800, 600, platform::OffscreenRecording::image_only);
    SurfacePlotter plotter(window.get());
    SurfaceFunction function(app.fdata);
    PlotContext context{plotter,          function, app.fdata, app.sdata, app.graph_parameters,
                        app.readout_ready};
    if (dirty_first) {
        dirty_upper_state();
    }
    const double start = processor_seconds();
    benchmark::DoNotOptimize(draw_plot(context, plot_page, screen_output));
    const double seconds = processor_seconds() - start;
    plotter.end_output();
    return seconds;
}

// `dirty_first` leaves the upper state in use before each page and before the native loop, as
// the culprit library would: the page clears it where its evaluations begin, the native loop
// does not, so on a CPU with the penalty the native loop shows the loss the page escapes.
void BM_PageAgainstNative(benchmark::State& state, bool dirty_first) {
    double page = 0, flat = 0, native = 0;
    int in_use_at_native = 0;
    for (auto _ : state) {
        page += page_seconds("sin(|x|^a  + |y|^b)", dirty_first);
        flat += page_seconds("0", dirty_first);
        if (dirty_first) {
            dirty_upper_state();
        } else {
            platform::clear_upper_vector_state();
        }
        in_use_at_native = upper_state_in_use();
        const double start = processor_seconds();
        benchmark::DoNotOptimize(native_page_samples());
        native += processor_seconds() - start;
    }
    const double evaluations =
        evaluation_count(page_mesh) * static_cast<double>(state.iterations());
    const double page_ns = (page - flat) / evaluations * 1e9;
    const double native_ns = native / evaluations * 1e9;
    state.counters["page_ns_per_evaluation"] = page_ns;
    state.counters["native_ns_per_evaluation"] = native_ns;
    state.counters["page_per_native"] = page_ns / native_ns;
    state.counters["upper_in_use_at_native"] = in_use_at_native;
}

// Whether anything in the start-up and a page's drawing leaves the upper state in use: read
// after a page has been drawn, before anything clears it.
void BM_UpperStateAfterAPage(benchmark::State& state) {
    int in_use = 0;
    for (auto _ : state) {
        page_seconds("0", false);
        in_use = upper_state_in_use();
    }
    state.counters["upper_in_use_after_page"] = in_use;
}

}  // namespace
}  // namespace toven

int main(int argc, char** argv) {
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::headless);
    benchmark::RegisterBenchmark("BM_PageAgainstNative/AsStarted", toven::BM_PageAgainstNative,
                                 false)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_PageAgainstNative/UpperStateLeftInUse",
                                 toven::BM_PageAgainstNative, true)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_UpperStateAfterAPage", toven::BM_UpperStateAfterAPage)
        ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
