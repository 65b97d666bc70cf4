// toven --eval FORMULA -: points a second through the same function the command uses, from a
// stream held in memory to /dev/null, for the default formula and a short one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/user_tables.h"
#include "app/eval_pipe.h"
#include "expr/surface_function.h"

namespace {

constexpr int points = 1'000'000;

// A million "X Y" lines over [-1, 1] x [-1, 1], as a script would write them.
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

void tabulate_points(benchmark::State& state, const char* formula) {
    toven::load_fdata_defaults();
    if (formula != nullptr) {
        toven::set_line(toven::fdata[6], (std::string("f(x,y) = ") + formula).c_str());
    }
    toven::SurfaceFunction function(toven::fdata);
    function.compile();
    function.load_parameters();
    std::string& text = const_cast<std::string&>(point_lines());
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        std::FILE* in = fmemopen(text.data(), text.size(), "r");
        benchmark::DoNotOptimize(toven::tabulate(function, in, sink, stderr));
        std::fclose(in);
    }
    std::fclose(sink);
    state.SetItemsProcessed(state.iterations() * points);
    toven::load_fdata_defaults();
}

void BM_pipe_default_formula(benchmark::State& state) {
    tabulate_points(state, nullptr);
}
void BM_pipe_product(benchmark::State& state) {
    tabulate_points(state, "x*y");
}

BENCHMARK(BM_pipe_default_formula)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pipe_product)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
