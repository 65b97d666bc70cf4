// The engine's evaluation of the default formula against the same formula compiled by the
// C++ compiler, over the same points, and the cost of one compile.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "expr/item_table.h"
#include "expr/surface_function.h"
#include "tests/support/tree_evaluation.h"

namespace {

struct Point {
    double x;
    double y;
};

// The points of a default plot's curves: a 41 x 41 grid over the default box.
const std::vector<Point>& grid() {
    static const std::vector<Point> points = [] {
        std::vector<Point> result;
        for (int i = 0; i <= 40; ++i) {
            for (int j = 0; j <= 40; ++j) {
                result.push_back({-1 + i / 20.0, -1 + j / 20.0});
            }
        }
        return result;
    }();
    return points;
}

void BM_native(benchmark::State& state) {
    const std::vector<Point>& points = grid();
    for (auto _ : state) {
        for (const Point& p : points) {
            benchmark::DoNotOptimize(
                std::sin(std::pow(std::fabs(p.x), 3) + std::pow(std::fabs(p.y), 3)));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}

void BM_engine(benchmark::State& state) {
    const toven::DataTable fdata = toven::default_table(toven::TableName::fdata);
    toven::SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    const std::vector<Point>& points = grid();
    for (auto _ : state) {
        for (const Point& p : points) {
            benchmark::DoNotOptimize(function.evaluate(p.x, p.y));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}

// The tree walked by the tests' oracle, for comparison with the postfix program.
void BM_tree(benchmark::State& state) {
    const toven::DataTable fdata = toven::default_table(toven::TableName::fdata);
    toven::SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    toven::Symbol* symbols = function.expression().lexer()->symbols.get();
    toven::Symbol* x = toven::find_symbol(symbols, "x");
    toven::Symbol* y = toven::find_symbol(symbols, "y");
    const toven::Node* root = function.expression().root();
    toven::test_support::TreeEvaluation tree;
    const std::vector<Point>& points = grid();
    for (auto _ : state) {
        for (const Point& p : points) {
            x->value = p.x;
            y->value = p.y;
            benchmark::DoNotOptimize(tree.value_of(*root));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}

// A formula that fails at every point against one of the same length that never fails: a
// failing log, sqrt or division should cost about what a value costs.
void evaluate_formula(benchmark::State& state, const char* formula) {
    toven::Expression expression;
    bool ok = false;
    expression.parse(formula, ok);
    toven::Symbol* symbols = expression.lexer()->symbols.get();
    const std::vector<Point>& points = grid();
    for (auto _ : state) {
        for (const Point& p : points) {
            toven::set_variable("x", p.x, symbols);
            toven::set_variable("y", p.y, symbols);
            benchmark::DoNotOptimize(expression.evaluate());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK_CAPTURE(evaluate_formula, log_that_succeeds, "log(|x*y|+1)");
BENCHMARK_CAPTURE(evaluate_formula, log_that_fails, "log(-|x*y|-1)");
BENCHMARK_CAPTURE(evaluate_formula, division_that_succeeds, "1/(x-x+1)");
BENCHMARK_CAPTURE(evaluate_formula, division_that_fails, "1/(x-x+0)");

void BM_compile(benchmark::State& state) {
    const toven::DataTable fdata = toven::default_table(toven::TableName::fdata);
    toven::SurfaceFunction function(fdata);
    for (auto _ : state) {
        function.compile();
        benchmark::DoNotOptimize(function.compiled);
    }
}

// A formula of at most `length` characters: copies of the default formula added together, so
// that the tree is both long (the sum) and nested (calls, bars and powers).
std::string long_formula(std::size_t length) {
    const std::string term = "+sin(|x|^a  + |y|^b)";
    std::string formula = term.substr(1);
    while (formula.size() + term.size() <= length) {
        formula += term;
    }
    return formula;
}

// The cost of compiling grows with the formula's length, no faster.
void BM_compile_long(benchmark::State& state) {
    const std::string formula = long_formula(static_cast<std::size_t>(state.range(0)));
    toven::Expression expression;
    bool ok = false;
    for (auto _ : state) {
        expression.parse(formula.c_str(), ok);
        benchmark::DoNotOptimize(ok);
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_native);
BENCHMARK(BM_engine);
BENCHMARK(BM_tree);
BENCHMARK(BM_compile);
BENCHMARK(BM_compile_long)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
