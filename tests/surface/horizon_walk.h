// An independent check of a hidden-line page: the floating horizons worked out a second time,
// curve against curve, over samples that a test places itself, keyed by the projected h rather
// than by the drawing's page columns; then the pixels drawn compared with the visible runs.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "surface/surface_plotter.h"
#include "tests/support/recording_device.h"

namespace toven::surface_test {

using Pixel = std::pair<int, int>;
using PixelSet = std::set<Pixel>;
using PagePoint = std::array<double, 2>;  // h, v

// The pixels of a line from a to b, a point at least every half pixel.
inline void trace(PixelSet& pixels, double ax, double ay, double bx, double by) {
    const int steps = 1 + static_cast<int>(2 * std::max(std::abs(bx - ax), std::abs(by - ay)));
    for (int s = 0; s <= steps; ++s) {
        const double t = static_cast<double>(s) / steps;
        pixels.insert({static_cast<int>(std::lround(ax + t * (bx - ax))),
                       static_cast<int>(std::lround(ay + t * (by - ay)))});
    }
}

inline bool near(const PixelSet& pixels, Pixel p) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (pixels.count({p.first + dx, p.second + dy}) != 0) {
                return true;
            }
        }
    }
    return false;
}

// One family of curves as the test places it: sample j (0 to `length`) of curve c (0 to
// `curves` - 1, 0 the front edge, each walked from its near end), projected.
struct Family {
    int curves = 0;
    int length = 0;
    std::function<PagePoint(int c, int j)> point;
};

// The visible runs of `drawn` (rows or columns), against horizons keyed by h in columns of
// `column_width` and set by both front edges, which are drawn whole.
inline std::vector<PixelSet> visible_runs(const SurfacePlotter& view, double column_width,
                                          const Family& rows, const Family& columns,
                                          const Family& drawn) {
    std::map<long, std::pair<double, double>> horizon;  // column: upper, lower
    const auto key = [&](double h) { return std::lround(h / column_width); };
    std::vector<PixelSet> runs(2);
    const auto line = [&](PixelSet& run, PagePoint a, PagePoint b) {
        trace(run, view.to_device_x(a[0]), view.to_device_y(a[1]), view.to_device_x(b[0]),
              view.to_device_y(b[1]));
    };
    for (std::size_t edge = 0; edge < 2; ++edge) {
        const Family& family = edge == 0 ? columns : rows;
        for (int j = 0; j <= family.length; ++j) {
            const PagePoint p = family.point(0, j);
            horizon[key(p[0])] = {p[1], p[1]};
            if (j > 0) {
                line(runs[edge], family.point(0, j - 1), p);
            }
        }
    }
    for (int curve = 1; curve < drawn.curves; ++curve) {
        PixelSet* run = nullptr;
        for (int j = 1; j <= drawn.length; ++j) {
            const PagePoint to = drawn.point(curve, j);
            auto& [upper, lower] = horizon[key(to[0])];
            const bool seen = to[1] > upper || to[1] < lower;
            upper = std::max(upper, to[1]);
            lower = std::min(lower, to[1]);
            run = seen ? (run != nullptr ? run : &runs.emplace_back()) : nullptr;
            if (seen) {
                line(*run, drawn.point(curve, j - 1), to);
            }
        }
    }
    return runs;
}

// Every pixel drawn lies within a pixel of a visible run of either family, and every visible
// run longer than two pixels is drawn but for a pixel or two at its ends.
inline void expect_exactly_the_visible_lines(const SurfacePlotter& view, double column_width,
                                             const Family& rows, const Family& columns,
                                             const test_support::CallLog& log) {
    PixelSet drawn;
    for (const test_support::Segment& segment : log.segments) {
        trace(drawn, segment.from.x, segment.from.y, segment.to.x, segment.to.y);
    }
    std::vector<PixelSet> runs = visible_runs(view, column_width, rows, columns, rows);
    std::vector<PixelSet> column_runs = visible_runs(view, column_width, rows, columns, columns);
    runs.insert(runs.end(), column_runs.begin(), column_runs.end());
    PixelSet visible;
    for (const PixelSet& run : runs) {
        visible.insert(run.begin(), run.end());
    }
    EXPECT_EQ(std::ranges::count_if(drawn, [&](Pixel p) { return !near(visible, p); }), 0);
    for (const PixelSet& run : runs) {
        if (run.size() > 2) {
            EXPECT_LE(std::ranges::count_if(run, [&](Pixel p) { return !near(drawn, p); }), 2);
        }
    }
}

}  // namespace toven::surface_test
