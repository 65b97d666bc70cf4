// Turning the view: which angle is drawn, and an independent check that the lines drawn at a
// turn are the visible ones. The check redoes the floating horizons by itself, curve against
// curve, over samples it places itself from the view's angle and the lattice's steps per
// interval, and compares pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

using surface_test::CountingFunction;
using surface_test::RecordedSurface;

double hills(double x, double y) {
    return 0.5 * std::sin(3 * x) * std::cos(2 * y) + 0.6 * std::exp(-4 * (x * x + y * y));
}

const Box box{-1, 1, -1, 1, -0.8, 1.2};

SurfaceRequest turned(const Mesh& mesh, double tilt, double turn) {
    return {box, mesh, tilt, CurveChoice::both, turn};
}

double angle_between(double a, double b) {
    return std::abs(std::remainder(a - b, 360.0));
}

// Unturned, rot = -atan(1/2) for n = 20, m = 40 over a square. A quarter turn needs four times
// the steps along y, a half turn none; between them the angle drawn lies near the one asked
// for, and edge-on the finer family stops at 16 k.
TEST(TurnedView, DrawsTheNearestAngleTheStepsKeep) {
    const double unturned = -std::atan(0.5) / radians_per_degree;
    struct Case {
        double turn;
        int k;
        double most_off;  // degrees
        int kx, ky;       // 0: not checked
    } cases[] = {{0, 20, 0, 20, 20},      {360, 20, 0, 20, 20},    {90, 20, 1e-9, 20, 80},
                 {180, 20, 1e-9, 20, 20}, {-90, 20, 1e-9, 20, 80}, {30, 20, 0.3, 0, 0},
                 {200, 20, 0.3, 0, 0},    {30, 1, 6, 0, 0},        {116.57, 2, 7.2, 2, 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "turn " << c.turn << ", k " << c.k);
        const SurfaceRequest request = turned({20, 40, c.k}, 15, c.turn);
        EXPECT_LE(angle_between(make_view(request).rot, unturned + c.turn), c.most_off);
        const SampleLattice lattice = make_lattice(request);
        EXPECT_LE(std::max(lattice.kx, lattice.ky), max_step_ratio * c.k);
        if (c.kx != 0) {
            EXPECT_EQ(std::pair(lattice.kx, lattice.ky), std::pair(c.kx, c.ky));
        }
    }
}

using Pixel = std::pair<int, int>;

// The pixels of a line from a to b, a point at least every half pixel.
void trace(std::set<Pixel>& pixels, double ax, double ay, double bx, double by) {
    const int steps = 1 + static_cast<int>(2 * std::max(std::abs(bx - ax), std::abs(by - ay)));
    for (int s = 0; s <= steps; ++s) {
        const double t = static_cast<double>(s) / steps;
        pixels.insert({static_cast<int>(std::lround(ax + t * (bx - ax))),
                       static_cast<int>(std::lround(ay + t * (by - ay)))});
    }
}

bool near(const std::set<Pixel>& pixels, Pixel p) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (pixels.count({p.first + dx, p.second + dy}) != 0) {
                return true;
            }
        }
    }
    return false;
}

// The visible runs of one family of curves, of constant y (`rows`) or of constant x, nearest
// first, each walked from its near end, against horizons keyed by the projected h.
std::vector<std::set<Pixel>> visible_runs(const SurfacePlotter& view, const Mesh& mesh, int kx,
                                          int ky, bool rows) {
    const double c = view.cos_rot, s = view.sin_rot;
    const double sx = (box.x2 - box.x1) / (mesh.m * kx);
    const double sy = (box.y2 - box.y1) / (mesh.n * ky);
    const auto depth = [&](double x, double y) { return y * c - x * s; };
    const bool x_from_x1 = depth(box.x1, 0) < depth(box.x2, 0);
    const bool y_from_y1 = depth(0, box.y1) < depth(0, box.y2);
    const int along_x = mesh.m * kx, along_y = mesh.n * ky;
    const auto point = [&](int i, int j) {  // i steps in x, j in y, from the near side
        const double x = x_from_x1 ? box.x1 + i * sx : box.x2 - i * sx;
        const double y = y_from_y1 ? box.y1 + j * sy : box.y2 - j * sy;
        return std::array{x * c + y * s, hills(x, y) * view.cos_tilt + depth(x, y) * view.sin_tilt};
    };
    const double column_width = std::abs(sx * c);
    std::map<long, std::pair<double, double>> horizon;  // column: upper, lower
    const auto key = [&](double h) { return std::lround(h / column_width); };
    for (int j = 0; j <= along_y; ++j) {
        horizon[key(point(0, j)[0])] = {point(0, j)[1], point(0, j)[1]};
    }
    for (int i = 0; i <= along_x; ++i) {
        horizon[key(point(i, 0)[0])] = {point(i, 0)[1], point(i, 0)[1]};
    }
    std::vector<std::set<Pixel>> runs(2);  // the front edges, drawn whole
    const auto line = [&](std::set<Pixel>& run, std::array<double, 2> a, std::array<double, 2> b) {
        trace(run, view.to_device_x(a[0]), view.to_device_y(a[1]), view.to_device_x(b[0]),
              view.to_device_y(b[1]));
    };
    for (int j = 1; j <= along_y; ++j) {
        line(runs[0], point(0, j - 1), point(0, j));
    }
    for (int i = 1; i <= along_x; ++i) {
        line(runs[1], point(i - 1, 0), point(i, 0));
    }
    const int curves = rows ? mesh.n : mesh.m;
    const int length = rows ? along_x : along_y;
    for (int curve = 1; curve <= curves; ++curve) {
        const auto at = [&](int j) { return rows ? point(j, curve * ky) : point(curve * kx, j); };
        std::set<Pixel>* run = nullptr;
        for (int j = 1; j <= length; ++j) {
            const auto to = at(j);
            auto& [upper, lower] = horizon[key(to[0])];
            const bool seen = to[1] > upper || to[1] < lower;
            upper = std::max(upper, to[1]);
            lower = std::min(lower, to[1]);
            run = seen ? (run != nullptr ? run : &runs.emplace_back()) : nullptr;
            if (seen) {
                line(*run, at(j - 1), to);
            }
        }
    }
    return runs;
}

// Every pixel drawn lies within a pixel of a visible run, and every visible run longer than two
// pixels is drawn but for a pixel or two at its ends.
TEST(TurnedView, DrawsExactlyTheVisibleLinesAtEveryTurn) {
    const Mesh mesh{10, 14, 4};
    for (const double tilt : {25.0, -20.0}) {
        for (const double turn : {0.0, 30.0, 100.0, 116.57, 200.0, 300.0}) {
            SCOPED_TRACE(testing::Message() << "tilt " << tilt << ", turn " << turn);
            RecordedSurface surface;
            CountingFunction f(hills);
            ASSERT_EQ(surface.plotter.draw_surface(f, turned(mesh, tilt, turn)), std::nullopt);
            const SampleLattice& lattice = surface.plotter.drawn_surface->lattice;
            std::set<Pixel> drawn;
            for (const test_support::Segment& segment : surface.window.log->segments) {
                trace(drawn, segment.from.x, segment.from.y, segment.to.x, segment.to.y);
            }
            std::vector<std::set<Pixel>> runs;
            for (const bool rows : {true, false}) {
                auto family = visible_runs(surface.plotter, mesh, lattice.kx, lattice.ky, rows);
                runs.insert(runs.end(), family.begin(), family.end());
            }
            std::set<Pixel> visible;
            for (const std::set<Pixel>& run : runs) {
                visible.insert(run.begin(), run.end());
            }
            EXPECT_EQ(std::ranges::count_if(drawn, [&](Pixel p) { return !near(visible, p); }), 0);
            for (const std::set<Pixel>& run : runs) {
                if (run.size() > 2) {
                    EXPECT_LE(std::ranges::count_if(run, [&](Pixel p) { return !near(drawn, p); }),
                              2);
                }
            }
        }
    }
}

}  // namespace
}  // namespace toven
