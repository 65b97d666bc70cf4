#include "surface/printable_solid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <span>

#include "platform/parallel.h"
#include "surface/lattice_heights.h"
#include "surface/plot_limits.h"
#include "surface/sample_lattice.h"

namespace toven {

namespace {

// The lattice coordinates along one side, from `first` in `steps_per_interval` steps per mesh
// interval: evenly spaced `step` apart, or with uneven `nodes` (from one end of the side to the
// other) on the nodes themselves and evenly spaced between them.
std::vector<double> lattice_coordinates(double first, double step, int intervals,
                                        int steps_per_interval, std::span<const double> nodes) {
    const int count = intervals * steps_per_interval;
    std::vector<double> line(static_cast<std::size_t>(count) + 1);
    if (nodes.empty()) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            line[i] = first + static_cast<double>(i) * step;
        }
        return line;
    }
    std::vector<double> ordered(nodes.begin(), nodes.end());
    if (std::abs(ordered.back() - first) < std::abs(ordered.front() - first)) {
        std::reverse(ordered.begin(), ordered.end());
    }
    for (int i = 0; i < count; ++i) {
        const std::size_t node = static_cast<std::size_t>(i / steps_per_interval);
        const int s = i % steps_per_interval;
        line[static_cast<std::size_t>(i)] =
            ordered[node] + s * (ordered[node + 1] - ordered[node]) / steps_per_interval;
    }
    line.back() = ordered.back();
    return line;
}

// The lattice coordinates as an STL file keeps them; nothing when two neighbours round to the
// same single-precision number.
std::optional<std::vector<float>> single_precision(const std::vector<double>& coordinates) {
    std::vector<float> line(coordinates.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        line[i] = static_cast<float>(coordinates[i]);
        if (i > 0 && line[i] == line[i - 1]) {
            return std::nullopt;
        }
    }
    return line;
}

// A point strictly between the two middle lattice lines, so that the base's fan meets no
// lattice point of the top where the top lies on the base; nothing when none is there.
std::optional<float> between_middle(const std::vector<float>& line) {
    const std::size_t middle = (line.size() - 1) / 2;
    const float low = line[middle];
    const float high = line[middle + 1];
    const auto point = static_cast<float>((static_cast<double>(low) + high) / 2);
    if (point == low || point == high) {
        return std::nullopt;
    }
    return point;
}

// A value that is no number is `hole`.
float clipped_height(double z, double z1, double z2, double hole) {
    if (std::isnan(z)) {
        z = hole;
    }
    return static_cast<float>(std::clamp(z, z1, z2));
}

// Every corner of every triangle is one of these numbers, so a solid with none infinite
// writes no infinite corner.
std::optional<platform::Refusal> finite_lattice_refusal(const SolidLattice& lattice) {
    const auto finite = [](float value) { return std::isfinite(value); };
    if (std::ranges::all_of(lattice.xs, finite) && std::ranges::all_of(lattice.ys, finite) &&
        std::ranges::all_of(lattice.heights, finite) && finite(lattice.base)) {
        return std::nullopt;
    }
    return platform::Refusal{
        "A point of the solid is too large for the single precision of an STL file: keep the "
        "box within 3.4e38."};
}

}  // namespace

std::optional<platform::Refusal> solid_refusal(const Box& box, const Mesh& mesh) {
    if (auto refusal = mesh_count_refusal(mesh)) {
        return refusal;
    }
    const auto [n, m, k] = mesh;
    const double cells = static_cast<double>(m) * k * (static_cast<double>(n) * k);
    if (cells > max_solid_cells) {
        return platform::formatted_refusal(
            "The solid's lattice has %.0f cells (m k by n k), at most %.0f: lower m, n or k.",
            cells, max_solid_cells);
    }
    const auto [x1, x2, y1, y2, z1, z2] = box;
    for (const double side : {x2 - x1, y2 - y1, z2 - z1}) {
        if (!std::isfinite(side)) {
            return platform::Refusal{"The box's sides must be finite numbers."};
        }
    }
    // An STL file keeps single precision, where a larger number is infinite.
    for (const double bound : {x1, x2, y1, y2, z1, z2}) {
        if (!std::isfinite(static_cast<float>(bound))) {
            return platform::formatted_refusal(
                "An STL file keeps the box in single precision, so x1..z2 must lie within "
                "%g and %g, not %g.",
                -static_cast<double>(std::numeric_limits<float>::max()),
                static_cast<double>(std::numeric_limits<float>::max()), bound);
        }
    }
    if (auto refusal = flat_base_refusal(box)) {
        return refusal;
    }
    if (!(static_cast<float>(z1) < static_cast<float>(z2))) {
        return platform::formatted_refusal(
            "The solid stands on z1 and is cut at z2, so it needs z1 < z2 (z1 = %g, "
            "z2 = %g).",
            z1, z2);
    }
    return std::nullopt;
}

std::optional<platform::Refusal> sample_solid(FunctionXY& function, const SurfaceRequest& request,
                                              SolidLattice& lattice, SolidHoles holes) {
    const auto [x1, x2, y1, y2, z1, z2] = request.box;
    const Mesh& mesh = request.mesh;
    const SampleLattice samples{x1, x2, y1, y2, mesh};
    const std::vector<double> x_at =
        lattice_coordinates(x1, samples.step_dx, mesh.m, mesh.k, request.node_x);
    const std::vector<double> y_at =
        lattice_coordinates(y1, samples.step_dy, mesh.n, mesh.k, request.node_y);
    auto xs = single_precision(x_at);
    auto ys = single_precision(y_at);
    const auto centre_x = xs ? between_middle(*xs) : std::nullopt;
    const auto centre_y = ys ? between_middle(*ys) : std::nullopt;
    if (!centre_x || !centre_y) {
        return platform::Refusal{
            "The lattice is too fine for the box's numbers in an STL file, which keeps them in "
            "single precision: neighbouring points fall on one number. Lower m, n or k, or move "
            "the box nearer 0."};
    }
    lattice.xs = std::move(*xs);
    lattice.ys = std::move(*ys);
    lattice.base = static_cast<float>(z1);
    lattice.centre = {*centre_x, *centre_y, lattice.base};
    lattice.mirrored = (x2 < x1) != (y2 < y1);
    const std::size_t width = lattice.xs.size();
    const double hole = holes == SolidHoles::base ? z1 : 0;
    lattice.heights.resize(width * lattice.ys.size());
    const bool shared = function.shared_evaluation() &&
                        static_cast<double>(lattice.heights.size()) >= min_shared_page_evaluations;
    platform::Workers workers(shared ? platform::usable_threads() : 1);
    // Rows of heights, each on one thread: every height is its own point's alone, so the
    // lattice is the same whatever the threads.
    // The lambda takes the box's heights by name: a structured binding is not captured.
    const double bottom = z1;
    const double top = z2;
    workers.for_each_block(lattice.ys.size(), 1, [&](std::size_t first, std::size_t end) {
        std::vector<double> stack;
        for (std::size_t row = first; row < end; ++row) {
            const double y = y_at[row];
            for (std::size_t column = 0; column < width; ++column) {
                const double x = x_at[column];
                const double z =
                    shared ? function.evaluate_shared(x, y, stack) : function.evaluate(x, y);
                lattice.heights[row * width + column] = clipped_height(z, bottom, top, hole);
            }
        }
    });
    return finite_lattice_refusal(lattice);
}

std::size_t solid_triangle_count(const SolidLattice& lattice) {
    std::size_t count = 0;
    for_each_solid_triangle(lattice, [&count](const SolidTriangle&) { ++count; });
    return count;
}

namespace solid_detail {

std::vector<std::array<std::size_t, 2>> boundary(const SolidLattice& lattice) {
    const std::size_t last_column = lattice.xs.size() - 1;
    const std::size_t last_row = lattice.ys.size() - 1;
    std::vector<std::array<std::size_t, 2>> points;
    points.reserve(2 * (last_column + last_row) + 1);
    for (std::size_t column = 0; column < last_column; ++column) {
        points.push_back({column, 0});
    }
    for (std::size_t row = 0; row < last_row; ++row) {
        points.push_back({last_column, row});
    }
    for (std::size_t column = last_column; column > 0; --column) {
        points.push_back({column, last_row});
    }
    for (std::size_t row = last_row; row > 0; --row) {
        points.push_back({0, row});
    }
    points.push_back({0, 0});
    return points;
}

}  // namespace solid_detail

}  // namespace toven
