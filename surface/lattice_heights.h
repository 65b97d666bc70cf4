// The heights z = f(x, y) of a page's samples, evaluated before the horizons use them: a plain
// 2-D array of one band of consecutive curves of one family of the lattice (rows or columns,
// as SampleLattice numbers them), one curve after another. A page is evaluated band by band,
// over all the threads it may use, so that its memory stays bounded whatever the mesh.
#pragma once

#include <cstddef>
#include <vector>

#include "expr/surface_function.h"
#include "platform/parallel.h"
#include "surface/mesh.h"
#include "surface/sample_lattice.h"

namespace toven {

// Below this many evaluations a page stays on one thread: handing out its blocks would cost
// more than they save. On an AMD EPYC (Zen 3) with 2 threads, sharing costs a page 0.2 to
// 0.5 ms more processor time (bench_surface, BM_SurfaceOnThreads), while the default formula
// evaluates 60 thousand samples in about 2 ms, half of which a second thread takes over.
inline constexpr double min_shared_page_evaluations = 60'000;

// The most samples a band holds: two bands (the one drawn, the next evaluated beside it) take
// 8 MB. A band holds one curve at least, which may be longer.
inline constexpr std::size_t max_band_samples = std::size_t{1} << 19;

// The threads that evaluate a page of this mesh: one for a small page, else usable_threads().
int page_threads(const Mesh& mesh);

enum class CurveFamily { rows, columns };

struct CurveBand {
    CurveFamily family = CurveFamily::rows;
    int first = 0;    // the first curve
    int count = 0;    // the number of curves
    int samples = 0;  // per curve
    std::vector<double> z;

    const double* curve(int c) const {
        return z.data() + static_cast<std::size_t>(c - first) * static_cast<std::size_t>(samples);
    }
};

// The samples of each curve of `family`: mk + 1 for a row, nk + 1 for a column.
int curve_samples(const SampleLattice& lattice, CurveFamily family);

// The bands that cover curves first to last of `family`, in order, each of as many curves as
// fit in max_band_samples (one at least); their heights are not yet evaluated.
std::vector<CurveBand> plan_bands(const SampleLattice& lattice, CurveFamily family, int first,
                                  int last);

// Evaluates every height of `band`, reusing its storage. With shared evaluation the blocks
// run on all of `workers`' threads; otherwise on the caller's alone.
void evaluate_band(CurveBand& band, const SampleLattice& lattice, FunctionXY& function,
                   platform::Workers& workers);

}  // namespace toven
