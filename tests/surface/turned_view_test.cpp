// Turning the view: which angle is drawn, and an independent check that the lines drawn at a
// turn are the visible ones. The check redoes the floating horizons by itself, curve against
// curve, over samples it places itself from the view's angle and the lattice's steps per
// interval, and compares pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "tests/surface/horizon_walk.h"
#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

using surface_test::CountingFunction;
using surface_test::Family;
using surface_test::PagePoint;
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
        const SampleLattice lattice = make_lattice(request);
        EXPECT_LE(angle_between(make_view(request, lattice).rot, unturned + c.turn), c.most_off);
        EXPECT_LE(std::max(lattice.kx, lattice.ky), max_step_ratio * c.k);
        if (c.kx != 0) {
            EXPECT_EQ(std::pair(lattice.kx, lattice.ky), std::pair(c.kx, c.ky));
        }
    }
}

// Near enough at a large k, the lattice stops refining: it once doubled the samples there for
// a hundred-thousandth of a degree.
TEST(TurnedView, ALargeKTakesTheFewestStepsThatComeNearEnough) {
    const double unturned = -std::atan(0.5) / radians_per_degree;
    const SurfaceRequest request = turned({20, 40, 1000}, 15, 20);
    const SampleLattice lattice = make_lattice(request);
    EXPECT_LE(angle_between(make_view(request, lattice).rot, unturned + 20), 0.01);
    EXPECT_LE(std::min(lattice.kx, lattice.ky), 1000) << lattice.kx << " x " << lattice.ky;
}

// The page's samples placed here from the view's angle and the lattice's steps per interval:
// i steps in x and j in y from the corner nearest the viewer.
TEST(TurnedView, DrawsExactlyTheVisibleLinesAtEveryTurn) {
    const Mesh mesh{10, 14, 4};
    for (const double tilt : {25.0, -20.0}) {
        for (const double turn : {0.0, 30.0, 100.0, 116.57, 200.0, 300.0}) {
            SCOPED_TRACE(testing::Message() << "tilt " << tilt << ", turn " << turn);
            RecordedSurface surface;
            CountingFunction f(hills);
            ASSERT_EQ(surface.plotter.draw_surface(f, turned(mesh, tilt, turn)), std::nullopt);
            const SurfacePlotter& view = surface.plotter;
            const int kx = view.drawn_surface->lattice.kx, ky = view.drawn_surface->lattice.ky;
            const double c = view.cos_rot, s = view.sin_rot;
            const double sx = (box.x2 - box.x1) / (mesh.m * kx);
            const double sy = (box.y2 - box.y1) / (mesh.n * ky);
            const auto depth = [&](double x, double y) { return y * c - x * s; };
            const bool x_from_x1 = depth(box.x1, 0) < depth(box.x2, 0);
            const bool y_from_y1 = depth(0, box.y1) < depth(0, box.y2);
            const auto point = [&](int i, int j) {
                const double x = x_from_x1 ? box.x1 + i * sx : box.x2 - i * sx;
                const double y = y_from_y1 ? box.y1 + j * sy : box.y2 - j * sy;
                return PagePoint{x * c + y * s,
                                 hills(x, y) * view.cos_tilt + depth(x, y) * view.sin_tilt};
            };
            const Family rows{mesh.n + 1, mesh.m * kx,
                              [&](int r, int j) { return point(j, r * ky); }};
            const Family columns{mesh.m + 1, mesh.n * ky,
                                 [&](int l, int j) { return point(l * kx, j); }};
            surface_test::expect_exactly_the_visible_lines(view, std::abs(sx * c), rows, columns,
                                                           *surface.window.log);
        }
    }
}

}  // namespace
}  // namespace toven
