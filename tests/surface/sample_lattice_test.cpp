// The page column of every sample the hidden-line drawing takes: its place on the page.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "surface/sample_lattice.h"
#include "surface/surface_view.h"

namespace toven {
namespace {

struct LatticeCase {
    const char* name;
    Box box;
    int m, n, k;
};

// The samples of the drawing: the front edges and every row and column of the mesh.
template <class Check>
void for_each_sample(const SampleLattice& lattice, Check check) {
    const int nk = lattice.mesh.n * lattice.mesh.k;
    const int mk = lattice.mesh.m * lattice.mesh.k;
    for (int from_y1 = 0; from_y1 <= nk; ++from_y1) {
        for (int from_x1 = 0; from_x1 <= mk; ++from_x1) {
            const bool on_row = from_y1 % lattice.mesh.k == 0;
            const bool on_column = from_x1 % lattice.mesh.k == 0;
            if (on_row || on_column) {
                check(from_x1, from_y1);
            }
        }
    }
}

TEST(SampleLattice, EverySampleLiesOnItsColumn) {
    const LatticeCase cases[] = {
        {"default data", {-1, 1, -1, 1, -0.2, 1.2}, 40, 20, 20},
        {"one cell", {-1, 1, -1, 1, 0, 1}, 1, 1, 1},
        {"wide box, fine steps", {-3, 5, 0, 1, 0, 1}, 7, 3, 11},
        {"reversed x", {1, -1, -1, 1, 0, 1}, 4, 6, 3},
        {"reversed y", {-1, 1, 2, -2, 0, 1}, 5, 2, 4},
    };
    for (const LatticeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [x1, x2, y1, y2, z1, z2] = c.box;
        const SampleLattice lattice{x1, x2, y1, y2, {c.n, c.m, c.k}};
        const SurfaceRequest request{c.box, Mesh{.n = c.n, .m = c.m, .k = c.k}, 15};
        const SurfaceView view = make_view(request, make_lattice(request));
        // Column 0 is the corner (x1, y2); one column is one step in x.
        const double first = view.project_h(x1, y2);
        const double width = lattice.step_dx * view.cos_rot;
        const double tolerance = 1e-9 * std::abs(width) * lattice.column_count();
        EXPECT_EQ(lattice.column(0, c.n * c.k), 0);
        EXPECT_EQ(lattice.column(c.m * c.k, 0), lattice.column_count() - 1);
        for_each_sample(lattice, [&](int from_x1, int from_y1) {
            const double h =
                view.project_h(x1 + from_x1 * lattice.step_dx, y1 + from_y1 * lattice.step_dy);
            const int column = lattice.column(from_x1, from_y1);
            ASSERT_GE(column, 0);
            ASSERT_LT(column, lattice.column_count());
            ASSERT_NEAR(h, first + column * width, tolerance) << from_x1 << " " << from_y1;
        });
    }
}

}  // namespace
}  // namespace toven
