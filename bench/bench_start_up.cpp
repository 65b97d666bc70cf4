// The toven command as a script runs it: one whole process per iteration, start-up included.
// What counts is the processor time of the program (user and system, "program_cpu"): on a
// shared machine the wall time also counts the waits for a processor. The goals, on an AMD
// EPYC (Zen 3): --eval 'x*y' 1 2 within 5 ms, a default --render within 30 ms;
// bench/compare_gnuplot.sh sets them beside gnuplot.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/program_run.h"

namespace {

using toven::bench::children_seconds;
using toven::bench::run_toven;

// A folder of this run's own for the pictures, made by main and removed at the end.
std::filesystem::path folder;

void run_whole_program(benchmark::State& state, const std::vector<std::string>& arguments) {
    const double start = children_seconds();
    for (auto _ : state) {
        if (!run_toven(arguments)) {
            state.SkipWithError("toven failed");
            return;
        }
    }
    state.counters["program_cpu"] =
        benchmark::Counter(children_seconds() - start, benchmark::Counter::kAvgIterations);
}

void BM_EvalOnePoint(benchmark::State& state) {
    run_whole_program(state, {"--eval", "x*y", "1", "2"});
}
BENCHMARK(BM_EvalOnePoint)->Unit(benchmark::kMillisecond);

void BM_RenderDefaultPage(benchmark::State& state) {
    run_whole_program(state, {"--render", (folder / "default.png").string()});
}
BENCHMARK(BM_RenderDefaultPage)->Unit(benchmark::kMillisecond);

// The dense page of compare_gnuplot.sh: 161 x 81 curves, 20 samples a mesh interval.
void BM_RenderDensePage(benchmark::State& state) {
    run_whole_program(state,
                      {"--render", (folder / "dense.png").string(), "m=160", "n=80", "k=20"});
}
BENCHMARK(BM_RenderDensePage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    folder = std::filesystem::temp_directory_path() / ("toven-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // Pictures need no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
