// The toven command as a script runs it: one whole process per iteration, start-up included.
// What counts is the processor time of the program (user and system, "program_cpu"): on a
// shared machine the wall time also counts the waits for a processor. The goals, on an AMD
// EPYC (Zen 3): --eval 'x*y' 1 2 within 5 ms, a default --render within 30 ms;
// bench/compare_gnuplot.sh sets them beside gnuplot.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// A folder of this run's own for the pictures, made by main and removed at the end.
std::filesystem::path folder;

// Runs the built program to its end; false when it cannot start or fails.
bool run_toven(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {TOVEN_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, TOVEN_PROGRAM, &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    int status = 0;
    return spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

double children_seconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

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
