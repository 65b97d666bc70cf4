// Sweeps as a person runs them: a 60-frame 800x600 GIF of the default page on 1, 2 and every
// usable thread, in this process and as a whole run of the program, split into the drawing of
// a frame and its encoding; and 12 frames at 400x300 in one process against 12 separate
// renders, each a whole run of the program.
//
// On an AMD EPYC (Zen 3) with 2 shared processors, compare the processor time, and the wall
// time only while the machine is otherwise idle: the goal for the whole run on 2 threads is
// at most 0.55 of its wall time on one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command/sweep.h"
#include "app/window/app_state.h"
#include "bench/program_run.h"
#include "platform/application.h"
#include "platform/gif_frame.h"
#include "platform/parallel.h"
#include "platform/picture_files.h"
#include "platform/window.h"

namespace toven {
namespace {

using bench::children_seconds;
using bench::run_toven;

// A folder of this run's own, made by main and removed at the end.
std::filesystem::path folder;

std::string out_file(const std::string& name) {
    return (folder / name).string();
}

constexpr int gif_frames = 60;

// TOVEN_THREADS at the benchmark's first argument while it lives.
class Threads {
  public:
    explicit Threads(const benchmark::State& state) {
        setenv("TOVEN_THREADS", std::to_string(state.range(0)).c_str(), 1);
    }
    ~Threads() { unsetenv("TOVEN_THREADS"); }
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;
};

void thread_counts(benchmark::internal::Benchmark* benchmark) {
    const int most = platform::allowed_processors();
    for (int threads = 1; threads < most; threads = threads < 2 ? 2 : threads * 2) {
        benchmark->Arg(threads);
    }
    benchmark->Arg(most);
}

// The default page with a moving, from 1 to 4, into one GIF: per frame in the counters.
void BM_GifSweep(benchmark::State& state) {
    const Threads threads(state);
    AppState app;
    const PagePicture picture{out_file("default.gif"), 800, 600};
    Sweep sweep;
    read_sweep_option("--sweep", ("a=1:4:" + std::to_string(gif_frames)).c_str(), sweep);
    for (auto _ : state) {
        SurfaceFunction function(app.fdata);
        function.compile();
        benchmark::DoNotOptimize(save_sweep(app, picture, sweep, function));
    }
    state.counters["frame"] = benchmark::Counter(
        gif_frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GifSweep)
    ->Apply(thread_counts)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One frame of it drawn on a fresh picture and its colours indexed, as the sweep does.
void BM_GifFrameDrawing(benchmark::State& state) {
    AppState app;
    const PagePicture picture{out_file("frame.gif"), 800, 600};
    SurfaceFunction function(app.fdata);
    function.compile();
    for (auto _ : state) {
        const DrawnPage page =
            draw_page_picture(app, picture, function, nullptr, Formula::compiled);
        benchmark::DoNotOptimize(platform::indexed_snapshot(*page.window));
    }
}
BENCHMARK(BM_GifFrameDrawing)->Unit(benchmark::kMillisecond);

// One frame of it compressed as the GIF keeps it.
void BM_GifFrameEncoding(benchmark::State& state) {
    AppState app;
    const PagePicture picture{out_file("frame.gif"), 800, 600};
    SurfaceFunction function(app.fdata);
    const DrawnPage page = draw_page_picture(app, picture, function, nullptr);
    const platform::IndexedImage image = platform::indexed_snapshot(*page.window);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            platform::encode_gif_frame(*image.colours, image.width, image.height, 5));
    }
}
BENCHMARK(BM_GifFrameEncoding)->Unit(benchmark::kMillisecond);

constexpr int small_frames = 12;

// The programs' processor time an iteration, beside the wall time.
class ChildrenTime {
  public:
    explicit ChildrenTime(benchmark::State& state) : state_(state) {}
    ~ChildrenTime() {
        state_.counters["program_cpu"] =
            benchmark::Counter(children_seconds() - start_, benchmark::Counter::kAvgIterations);
    }

  private:
    benchmark::State& state_;
    double start_ = children_seconds();
};

void BM_TwelveSeparateRenders(benchmark::State& state) {
    const ChildrenTime programs(state);
    for (auto _ : state) {
        for (int frame = 0; frame < small_frames; ++frame) {
            const std::string a = std::to_string(1 + frame * 2.0 / (small_frames - 1));
            run_toven({"--render", out_file("single.png"), "--size", "400x300", "a=" + a});
        }
    }
}
BENCHMARK(BM_TwelveSeparateRenders)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same twelve pages in one run, as frame files and as one GIF.
void BM_SweepOfTwelve(benchmark::State& state) {
    const std::string file = state.range(0) == 0 ? "frame-%02d.png" : "twelve.gif";
    const ChildrenTime programs(state);
    for (auto _ : state) {
        run_toven({"--render", out_file(file), "--size", "400x300", "--sweep", "a=1:3:12"});
    }
    state.SetLabel(file);
}
BENCHMARK(BM_SweepOfTwelve)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 60-frame GIF as a whole run of the program, start-up included.
void BM_GifSweepProgram(benchmark::State& state) {
    const Threads threads(state);
    const ChildrenTime programs(state);
    for (auto _ : state) {
        run_toven({"--render", out_file("program.gif"), "--sweep",
                   "a=1:4:" + std::to_string(gif_frames)});
    }
}
BENCHMARK(BM_GifSweepProgram)
    ->Apply(thread_counts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
}  // namespace toven

int main(int argc, char** argv) {
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::headless);
    std::string pattern = (std::filesystem::temp_directory_path() / "toven-sweep-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    toven::folder = pattern;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(toven::folder);
    return 0;
}
