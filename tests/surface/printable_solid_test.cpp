// The solid of a surface for a 3-D printer: closed (every edge in exactly two triangles),
// oriented outwards, and holding the volume of the clipped surface above z1.
#include "surface/printable_solid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <tuple>
#include <vector>

#include "expr/surface_function.h"
#include "tests/support/test_tables.h"
#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

using surface_test::CountingFunction;

std::vector<SolidTriangle> triangles_of(const SolidLattice& lattice) {
    std::vector<SolidTriangle> triangles;
    for_each_solid_triangle(lattice, [&](const SolidTriangle& t) { triangles.push_back(t); });
    return triangles;
}

using PointKey = std::tuple<float, float, float>;

PointKey key(const SolidPoint& p) {
    return {p.x, p.y, p.z};
}

// Closed and consistently oriented: each edge a -> b of a triangle is met once, and b -> a
// once in another triangle, points compared as an STL reader compares them. A triangle with
// a repeated corner counts as a fault.
int faulty_edges(const std::vector<SolidTriangle>& triangles) {
    std::map<std::pair<PointKey, PointKey>, int> directed;
    int faults = 0;
    for (const SolidTriangle& t : triangles) {
        for (int i = 0; i < 3; ++i) {
            const SolidPoint& a = t[i];
            const SolidPoint& b = t[(i + 1) % 3];
            faults += a == b ? 1 : 0;
            ++directed[{key(a), key(b)}];
        }
    }
    for (const auto& [edge, count] : directed) {
        const auto reverse = directed.find({edge.second, edge.first});
        faults += count != 1 || reverse == directed.end() || reverse->second != 1 ? 1 : 0;
    }
    return faults;
}

// Positive for a closed solid whose triangles turn counter-clockwise seen from outside.
double signed_volume(const std::vector<SolidTriangle>& triangles) {
    double volume = 0;
    for (const SolidTriangle& t : triangles) {
        const auto [a, b, c] = t;
        volume += (static_cast<double>(a.x) *
                       (static_cast<double>(b.y) * c.z - static_cast<double>(b.z) * c.y) -
                   static_cast<double>(a.y) *
                       (static_cast<double>(b.x) * c.z - static_cast<double>(b.z) * c.x) +
                   static_cast<double>(a.z) *
                       (static_cast<double>(b.x) * c.y - static_cast<double>(b.y) * c.x)) /
                  6;
    }
    return volume;
}

struct SolidCase {
    const char* name;
    std::function<double(double, double)> f;
    Box box;
    Mesh mesh;
    double volume;  // of the clipped surface above z1, exact where it is linear between samples
};

TEST(PrintableSolid, IsClosedOrientedAndHoldsTheVolumeAboveZ1) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const SolidCase cases[] = {
        {"flat", [](double, double) { return 0.5; }, {-1, 1, -1, 1, 0, 1}, {2, 3, 2}, 2},
        {"plane", [](double x, double y) { return x + y + 2; }, {0, 1, 0, 2, 0, 5}, {2, 3, 1}, 7},
        // Kinks on lattice lines: clamp(3x, -1, 1) + 1 over [-1, 1]^2.
        {"clipped_at_z1_and_z2",
         [](double x, double) { return 3 * x; },
         {-1, 1, -1, 1, -1, 1},
         {2, 3, 2},
         4},
        {"mirrored_box", [](double, double) { return 1; }, {1, -1, -1, 1, 0, 2}, {3, 2, 1}, 4},
        {"both_sides_mirrored",
         [](double, double) { return 1; },
         {1, -1, 1, -1, 0, 2},
         {3, 2, 1},
         4},
        {"all_on_the_base", [](double, double) { return -5; }, {-1, 1, -1, 1, 0, 1}, {2, 2, 2}, 0},
        // Failures (no number) are 0; above z2 is cut: height 2 for x < 0, 0 beyond.
        {"failures_and_infinity",
         [nan](double x, double) { return x < 0 ? std::numeric_limits<double>::infinity() : nan; },
         {-1, 1, 0, 1, -1, 2},
         {1, 4, 1},
         3.5},
    };
    for (const SolidCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(solid_refusal(c.box, c.mesh));
        CountingFunction f(c.f);
        SolidLattice lattice;
        ASSERT_FALSE(sample_solid(f, {c.box, c.mesh}, lattice));
        EXPECT_EQ(f.evaluations, (c.mesh.m * c.mesh.k + 1) * (c.mesh.n * c.mesh.k + 1));
        const std::vector<SolidTriangle> triangles = triangles_of(lattice);
        EXPECT_EQ(triangles.size(), solid_triangle_count(lattice));
        EXPECT_EQ(faulty_edges(triangles), 0);
        EXPECT_NEAR(signed_volume(triangles), c.volume, 1e-5);
    }
}

// A failed evaluation of the formula (sqrt of a negative x) is 0, as on the page.
TEST(PrintableSolid, FormulaFailuresAreHeightZero) {
    DataTable table = test_support::default_fdata();
    table[item_count(table)] = make_record("f(x,y)", "sqrt(x)");
    SurfaceFunction function(table);
    function.compile();
    function.load_parameters();
    SolidLattice lattice;
    ASSERT_FALSE(sample_solid(function, {{-1, 1, 0, 1, -1, 2}, {1, 2, 1}}, lattice));
    EXPECT_EQ(lattice.heights, (std::vector<float>{0, 0, 1, 0, 0, 1}));
    const std::vector<SolidTriangle> triangles = triangles_of(lattice);
    EXPECT_EQ(faulty_edges(triangles), 0);
    EXPECT_NEAR(signed_volume(triangles), 2.5, 1e-6);
}

// A hole in measured heights lies on the base, and the solid around it stays closed.
TEST(PrintableSolid, HolesOfAGridLieOnTheBase) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    surface_test::CountingFunction heights([nan](double x, double) { return x < 0 ? nan : 1.0; });
    SolidLattice lattice;
    ASSERT_FALSE(
        sample_solid(heights, {{-1, 1, 0, 1, -1, 2}, {1, 2, 1}}, lattice, SolidHoles::base));
    EXPECT_EQ(lattice.heights, (std::vector<float>{-1, 1, 1, -1, 1, 1}));
    EXPECT_EQ(faulty_edges(triangles_of(lattice)), 0);
}

// Uneven nodes are lattice lines of the solid, with k lines evenly between neighbours, and
// their heights are the nodes' own, whichever way round the box runs.
TEST(PrintableSolid, UnevenNodesAreLatticeLines) {
    const std::vector<double> x{0, 1, 4}, y{0, 0.5, 2};
    CountingFunction heights([](double px, double py) { return px + py; });
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "x2 < x1" : "x1 < x2");
        SurfaceRequest request{{reversed ? 4.0 : 0.0, reversed ? 0.0 : 4.0, 0, 2, 0, 6}, {2, 2, 2}};
        request.node_x = x;
        request.node_y = y;
        SolidLattice lattice;
        ASSERT_FALSE(sample_solid(heights, request, lattice));
        const std::vector<float> xs{0, 0.5, 1, 2.5, 4};
        EXPECT_EQ(lattice.xs, reversed ? std::vector<float>(xs.rbegin(), xs.rend()) : xs);
        EXPECT_EQ(lattice.ys, (std::vector<float>{0, 0.25, 0.5, 1.25, 2}));
        EXPECT_EQ(lattice.heights[3 * 5 + 3], lattice.xs[3] + 1.25f);
        EXPECT_EQ(faulty_edges(triangles_of(lattice)), 0);
    }
}

TEST(PrintableSolid, RefusesWhatMakesNoSolid) {
    const struct {
        const char* name;
        Box box;
        Mesh mesh;
        const char* message_part;
    } cases[] = {
        {"too_many_cells", {-1, 1, -1, 1, 0, 1}, {100, 100, 15}, "2250000 cells"},
        {"no_mesh", {-1, 1, -1, 1, 0, 1}, {20, 0, 1}, "m = 0"},
        {"no_height", {-1, 1, -1, 1, 1, 1}, {2, 2, 1}, "z1 < z2"},
        {"upside_down", {-1, 1, -1, 1, 1, 0}, {2, 2, 1}, "z1 < z2"},
        {"no_width", {1, 1, -1, 1, 0, 1}, {2, 2, 1}, "x1 != x2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto refusal = solid_refusal(c.box, c.mesh);
        ASSERT_TRUE(refusal);
        EXPECT_NE(refusal->message.find(c.message_part), std::string::npos) << refusal->message;
    }
    // 2000 steps across one unit far from 0 fall on fewer single-precision numbers.
    CountingFunction f([](double, double) { return 0; });
    SolidLattice lattice;
    const auto refusal = sample_solid(f, {{1e6, 1e6 + 1, 0, 1, 0, 1}, {1, 100, 20}}, lattice);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->message.find("single precision"), std::string::npos);
}

}  // namespace
}  // namespace toven
