// Grid files of 1000 x 1000 values, read whole from a file that lives in memory (so the disk
// does not count): a matrix CSV of about 10 MB, the same values as x y z lines, and a .npy of
// float64 and of float32 in Fortran order. Then the grid as f(x,y) at the nodes of its mesh at
// k = 1, against the default formula at the same points, and the surface of the grid drawn on
// an offscreen picture, against the default formula's of the same mesh at k = 1 and against a
// grid whose nodes are uneven. Targets: the CSV in 0.3 s, the .npy in 0.05 s, the even grid's
// page as fast as the formula's (CPU time, of every thread for a page; AMD EPYC Zen 3, 2 cores
// shared).
#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <variant>

#include "app/files/grid_file.h"
#include "expr/item_table.h"
#include "expr/surface_function.h"
#include "platform/application.h"
#include "platform/window.h"
#include "surface/grid_function.h"
#include "surface/surface_plotter.h"
#include "surface/surface_view.h"
#include "surface/uneven_nodes.h"

namespace {

constexpr int side = 1000;

double height(int row, int column) {
    return std::sin(row * 0.01) * std::cos(column * 0.013);
}

std::string matrix_csv() {
    std::string text;
    char value[32];
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const int length = std::snprintf(value, sizeof value, column == 0 ? "%.6f" : ",%.6f",
                                             height(row, column));
            text.append(value, static_cast<std::size_t>(length));
        }
        text += '\n';
    }
    return text;
}

std::string triples() {
    std::string text;
    char line[64];
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const int length =
                std::snprintf(line, sizeof line, "%d %d %.6f\n", column, row, height(row, column));
            text.append(line, static_cast<std::size_t>(length));
        }
    }
    return text;
}

std::string npy(bool float32) {
    std::string header = std::string("{'descr': '<f") + (float32 ? "4" : "8") +
                         "', 'fortran_order': " + (float32 ? "True" : "False") +
                         ", 'shape': (1000, 1000), }";
    header.append(63 - (10 + header.size()) % 64, ' ');
    header += '\n';
    std::string bytes =
        std::string("\x93NUMPY\x01") + '\0' + static_cast<char>(header.size()) + '\0' + header;
    for (int a = 0; a < side; ++a) {
        for (int b = 0; b < side; ++b) {
            if (float32) {
                const float value = static_cast<float>(height(b, a));
                bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
            } else {
                const double value = height(a, b);
                bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
            }
        }
    }
    return bytes;
}

// `bytes` in a file in memory, named by a path that read_grid_file opens as any other. The
// path has no extension: every format is told apart by its content.
std::string memory_file(const std::string& bytes) {
    const int memory = memfd_create("grid", 0);
    for (std::size_t done = 0; done < bytes.size();) {
        done += static_cast<std::size_t>(write(memory, bytes.data() + done, bytes.size() - done));
    }
    return "/proc/self/fd/" + std::to_string(memory);
}

void read_file(benchmark::State& state, const std::string& bytes) {
    const std::string path = memory_file(bytes);
    for (auto _ : state) {
        const auto read = toven::read_grid_file(path);
        if (!std::holds_alternative<toven::GridFile>(read)) {
            state.SkipWithError(std::get<toven::platform::Refusal>(read).message.c_str());
            return;
        }
        benchmark::DoNotOptimize(std::get<toven::GridFile>(read).grid.z.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_matrix_csv(benchmark::State& state) {
    read_file(state, matrix_csv());
}
void BM_xyz_lines(benchmark::State& state) {
    read_file(state, triples());
}
void BM_npy_float64(benchmark::State& state) {
    read_file(state, npy(false));
}
void BM_npy_float32_fortran(benchmark::State& state) {
    read_file(state, npy(true));
}

// f at every node, row by row, as the drawing reaches them: x1 + j step.
template <class Function>
void at_nodes(benchmark::State& state, Function& function) {
    const double step = 999.0 / 999;
    for (auto _ : state) {
        double sum = 0;
        for (int row = 0; row < side; ++row) {
            for (int column = 0; column < side; ++column) {
                sum += function.evaluate(column * step, row * step);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}

// The nodes 0 to side - 1, or, `uneven`, each moved by up to 0.3 of a gap, as a measured axis
// may be: its gaps run from 0.4 to 1.6.
toven::Grid grid_of_side(bool uneven = false) {
    toven::Grid grid;
    for (int i = 0; i < side; ++i) {
        const double shift = uneven && i > 0 && i < side - 1 ? 0.3 * std::sin(i) : 0;
        grid.x.push_back(i + shift);
        grid.y.push_back(i + shift);
    }
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            grid.z.push_back(height(row, column));
        }
    }
    return grid;
}

void BM_grid_at_nodes(benchmark::State& state) {
    const toven::Grid grid = grid_of_side();
    toven::GridFunction function(grid);
    at_nodes(state, function);
}

void BM_default_formula_at_nodes(benchmark::State& state) {
    const toven::DataTable fdata = toven::default_table(toven::TableName::fdata);
    toven::SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    at_nodes(state, function);
}

// The surface of `request` alone on an 800 x 600 picture, as a page's surface panel draws it.
void draw_surface(benchmark::State& state, toven::FunctionXY& function,
                  const toven::SurfaceRequest& request) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = toven::platform::create_offscreen_window(
            800, 600, toven::platform::OffscreenRecording::image_only);
        auto plotter = std::make_unique<toven::SurfacePlotter>(window.get());
        plotter->begin_output(toven::screen_output);
        plotter->set_colours(6, 2, 13, 1);
        plotter->set_viewport(5, 75, 5, 75, toven::clip_on);
        state.ResumeTiming();
        if (auto refusal = plotter->draw_surface(function, request)) {
            state.SkipWithError(refusal->message.c_str());
            return;
        }
        plotter->end_output();  // draws the lines still held back
        state.PauseTiming();
        plotter.reset();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["samples"] = toven::make_lattice(request).evaluation_count();
}

constexpr toven::Mesh side_mesh{side - 1, side - 1, 1};

void BM_grid_page(benchmark::State& state) {
    const toven::Grid grid = grid_of_side();
    toven::GridFunction function(grid);
    draw_surface(state, function, {{0, side - 1, 0, side - 1, -1, 1}, side_mesh, 15});
}

void BM_default_formula_page(benchmark::State& state) {
    const toven::DataTable fdata = toven::default_table(toven::TableName::fdata);
    toven::SurfaceFunction function(fdata);
    function.compile();
    function.load_parameters();
    draw_surface(state, function, {{-1, 1, -1, 1, -0.2, 1.2}, side_mesh, 15});
}

// Its curves drawn at their nodes, on a lattice some min_uneven_steps wide each way.
void BM_uneven_grid_page(benchmark::State& state) {
    const toven::Grid grid = grid_of_side(true);
    toven::GridFunction function(grid);
    draw_surface(state, function,
                 toven::with_grid_nodes({{0, side - 1, 0, side - 1, -1, 1}, side_mesh, 15}, grid));
}

BENCHMARK(BM_matrix_csv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_xyz_lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_npy_float64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_npy_float32_fortran)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_grid_at_nodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_default_formula_at_nodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_grid_page)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_default_formula_page)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_uneven_grid_page)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::headless);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
