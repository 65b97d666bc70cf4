// toven --eval FORMULA -: points a second through the same function the command uses, from a
// file held in memory to /dev/null, for the default formula, a short one and a formula whose
// log fails at half the points; and the writing of one value, against printf("%.17g").
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/command/eval_pipe.h"
#include "expr/item_table.h"
#include "expr/surface_function.h"
#include "platform/parallel.h"

namespace {

constexpr int points = 1'000'000;

// A million "X Y" lines over [-1, 1) x [-1, 1), as a script would write them.
const std::string& point_lines() {
    static const std::string text = [] {
        std::string result;
        char line[64];
        for (int i = 0; i < points; ++i) {
            const int length = std::snprintf(line, sizeof line, "%.17g %.17g\n",
                                             -1 + (i % 1000) / 500.0, -1 + (i / 1000) / 500.0);
            result.append(line, static_cast<std::size_t>(length));
        }
        return result;
    }();
    return text;
}

// The point lines in a file that lives in memory, read through its descriptor as standard
// input would be.
int point_file() {
    static const int descriptor = [] {
        const int memory = memfd_create("points", 0);
        const std::string& text = point_lines();
        for (std::size_t done = 0; done < text.size();) {
            done += static_cast<std::size_t>(write(memory, text.data() + done, text.size() - done));
        }
        return memory;
    }();
    return descriptor;
}

void tabulate_points(benchmark::State& state, const char* formula,
                     std::vector<const char*> items = {}) {
    toven::DataTable fdata = toven::default_table(toven::TableName::fdata);
    if (formula != nullptr) {
        toven::set_line(fdata[6], std::string("f(x,y) = ") + formula);
    }
    for (const char* item : items) {
        toven::set_line(fdata[item[0] - 'a' + 1], item);
    }
    toven::SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    setenv("TOVEN_THREADS", std::to_string(state.range(0)).c_str(), 1);
    const int in = point_file();
    const int sink = open("/dev/null", O_WRONLY);
    for (auto _ : state) {
        lseek(in, 0, SEEK_SET);
        benchmark::DoNotOptimize(toven::tabulate(function, in, sink, stderr));
    }
    close(sink);
    state.SetItemsProcessed(state.iterations() * points);
}

void BM_pipe_default_formula(benchmark::State& state) {
    tabulate_points(state, nullptr);
}
void BM_pipe_product(benchmark::State& state) {
    tabulate_points(state, "x*y");
}
// log(y) fails for y <= 0: half the points.
void BM_pipe_failing_log(benchmark::State& state) {
    tabulate_points(state, "sin(|x|^a + |y|^b)*exp(-x/3)+log(y)", {"a = 2", "b = 3"});
}
// The same formula where log never fails: the cost of the reading, the evaluation and the
// writing without the failures.
void BM_pipe_log_of_magnitude(benchmark::State& state) {
    tabulate_points(state, "sin(|x|^a + |y|^b)*exp(-x/3)+log(|y|+1)", {"a = 2", "b = 3"});
}

// Values of every kind as f gives them: random bit patterns (subnormals, NaNs and infinities
// among them) and ordinary magnitudes.
std::vector<double> sample_values() {
    std::mt19937_64 random(17);
    std::vector<double> values(1 << 16);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::uint64_t bits = random();
        values[i] = i % 2 == 0 ? std::bit_cast<double>(bits) : double(bits % 2000000) / 997 - 1000;
    }
    return values;
}

void BM_format_value(benchmark::State& state) {
    const std::vector<double> values = sample_values();
    char text[toven::max_value_text];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(toven::format_value(values[i++ % values.size()], text));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_printf_17g(benchmark::State& state) {
    const std::vector<double> values = sample_values();
    char text[toven::max_value_text];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            std::snprintf(text, sizeof text, "%.17g", values[i++ % values.size()]));
    }
    state.SetItemsProcessed(state.iterations());
}

// On 1, 2 and every thread (range(0)); the real time is the rate a script sees.
void thread_counts(benchmark::internal::Benchmark* benchmark) {
    const int most = toven::platform::usable_threads();
    for (int threads = 1; threads <= most; threads = threads < 2 ? 2 : threads * 2) {
        benchmark->Arg(threads);
    }
    if (most > 2 && (most & (most - 1)) != 0) {
        benchmark->Arg(most);
    }
    benchmark->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_pipe_default_formula)->Apply(thread_counts);
BENCHMARK(BM_pipe_product)->Apply(thread_counts);
BENCHMARK(BM_pipe_failing_log)->Apply(thread_counts);
BENCHMARK(BM_pipe_log_of_magnitude)->Apply(thread_counts);
BENCHMARK(BM_format_value);
BENCHMARK(BM_printf_17g);

}  // namespace

BENCHMARK_MAIN();
