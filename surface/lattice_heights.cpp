#include "surface/lattice_heights.h"

#include "surface/evaluation_run.h"

#include <algorithm>
#include <array>

#include "surface/plot_limits.h"

namespace toven {

namespace {

// The samples one thread takes at a time: a few tens of microseconds of a short formula,
// long enough that handing them out costs little.
constexpr std::size_t block_samples = 2048;

}  // namespace

int page_threads(const Mesh& mesh) {
    return evaluation_count(mesh) < min_shared_page_evaluations ? 1 : platform::usable_threads();
}

int curve_samples(const SampleLattice& lattice, CurveFamily family) {
    return (family == CurveFamily::rows ? lattice.row_steps() : lattice.column_steps()) + 1;
}

std::vector<CurveBand> plan_bands(const SampleLattice& lattice, CurveFamily family, int first,
                                  int last) {
    const int samples = curve_samples(lattice, family);
    const int per_band =
        std::max(1, static_cast<int>(max_band_samples / static_cast<std::size_t>(samples)));
    std::vector<CurveBand> bands;
    for (int curve = first; curve <= last; curve += per_band) {
        bands.push_back({family, curve, std::min(per_band, last - curve + 1), samples, {}});
    }
    return bands;
}

void evaluate_band(CurveBand& band, const SampleLattice& lattice, FunctionXY& function,
                   platform::Workers& workers) {
    const std::size_t samples = static_cast<std::size_t>(band.samples);
    band.z.resize(static_cast<std::size_t>(band.count) * samples);
    const bool rows = band.family == CurveFamily::rows;
    const auto point = [&](std::size_t index) {
        const int curve = band.first + static_cast<int>(index / samples);
        const int j = static_cast<int>(index % samples);
        return rows ? std::array{lattice.row_x(j), lattice.row_y(curve)}
                    : std::array{lattice.column_x(curve), lattice.column_y(curve, j)};
    };
    if (!function.shared_evaluation()) {
        const EvaluationRun evaluate(function);
        for (std::size_t index = 0; index < band.z.size(); ++index) {
            const auto [x, y] = point(index);
            band.z[index] = evaluate(x, y);
        }
        return;
    }
    workers.for_each_block(band.z.size(), block_samples, [&](std::size_t begin, std::size_t end) {
        // The loop reads copies of what the closure holds: the closure may share a cache line
        // with another thread's evaluation stack, which is written at every step.
        const auto place = point;
        const FunctionXY& shared = function;
        double* const z = band.z.data();
        std::vector<double> stack;
        for (std::size_t index = begin; index < end; ++index) {
            const auto [x, y] = place(index);
            z[index] = shared.evaluate_shared(x, y, stack);
        }
    });
}

}  // namespace toven
