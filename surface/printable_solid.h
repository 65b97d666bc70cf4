// The surface as a closed solid for a 3-D printer: the top is f on the sampling lattice
// (m k by n k cells, two triangles each) clipped to z1..z2, four walls go down from its edges
// to z1, and a flat base closes it at z1. Every edge belongs to exactly two triangles, and
// each triangle turns counter-clockwise seen from outside. Coordinates are single precision,
// as an STL file keeps them, and are the box's own numbers.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "expr/surface_function.h"
#include "platform/refusal.h"
#include "surface/mesh.h"
#include "surface/surface_request.h"

namespace toven {

// A solid takes about 100 bytes of file for each lattice cell (two triangles of the top):
// two million cells make a file of 200 MB, more than any slicer wants, and take a second to
// sample with a short formula.
inline constexpr double max_solid_cells = 2'000'000;

struct SolidPoint {
    float x = 0;
    float y = 0;
    float z = 0;
    friend bool operator==(const SolidPoint&, const SolidPoint&) = default;
};

using SolidTriangle = std::array<SolidPoint, 3>;

// The heights of the top on the lattice, clipped, and where the base lies.
struct SolidLattice {
    std::vector<float> xs;       // m k + 1 lattice x, from x1 to x2
    std::vector<float> ys;       // n k + 1 lattice y, from y1 to y2
    std::vector<float> heights;  // row by row from y1: heights[row * xs.size() + column]
    float base = 0;              // z1
    SolidPoint centre;           // inside the base, on no lattice line: where the base fans out
    // x2 < x1 or y2 < y1 (one of them) mirrors the lattice, so every triangle turns the other
    // way to keep facing outwards.
    bool mirrored = false;

    float height(std::size_t column, std::size_t row) const {
        return heights[row * xs.size() + column];
    }
};

// Why the box and mesh make no solid, or nothing: the mesh needs m, n, k of at least 1 and at
// most max_solid_cells cells, the box finite sides with x1 != x2, y1 != y2 and z1 < z2, and
// numbers that single precision holds.
std::optional<platform::Refusal> solid_refusal(const Box& box, const Mesh& mesh);

// What a height that is no number becomes: 0, as a formula's failed evaluation on the page,
// or the base, as a hole in measured heights.
enum class SolidHoles { zero, base };

// Samples f on the lattice of a box and mesh that solid_refusal accepts, its lattice lines on
// the request's uneven nodes when it has them; an evaluation that fails or gives no number is
// 0 or the base, as `holes` says, and every height is clipped to z1..z2. Refuses a box whose
// neighbouring lattice points fall on one single-precision number, and a lattice with a
// coordinate that is not finite in single precision. The tilt and the turn do not matter.
std::optional<platform::Refusal> sample_solid(FunctionXY& function, const SurfaceRequest& request,
                                              SolidLattice& lattice,
                                              SolidHoles holes = SolidHoles::zero);

// Hands every triangle of the solid to `emit`: the top, the walls and the base. A wall has no
// triangle where its top edge lies on the base.
template <typename Emit>
void for_each_solid_triangle(const SolidLattice& lattice, Emit&& emit);

// The triangles for_each_solid_triangle hands out.
std::size_t solid_triangle_count(const SolidLattice& lattice);

// One lattice point of the top and the point of the base below it.
namespace solid_detail {

inline SolidPoint top(const SolidLattice& lattice, std::size_t column, std::size_t row) {
    return {lattice.xs[column], lattice.ys[row], lattice.height(column, row)};
}

// The points of the top's edge, counter-clockwise seen from above as the lattice is laid out
// (x to the right, y up), from the corner (x1, y1) round to it again.
std::vector<std::array<std::size_t, 2>> boundary(const SolidLattice& lattice);

}  // namespace solid_detail

template <typename Emit>
void for_each_solid_triangle(const SolidLattice& lattice, Emit&& emit) {
    using solid_detail::top;
    const auto put = [&](const SolidPoint& a, const SolidPoint& b, const SolidPoint& c) {
        if (lattice.mirrored) {
            emit(SolidTriangle{a, c, b});
        } else {
            emit(SolidTriangle{a, b, c});
        }
    };
    for (std::size_t row = 0; row + 1 < lattice.ys.size(); ++row) {
        for (std::size_t column = 0; column + 1 < lattice.xs.size(); ++column) {
            const SolidPoint p00 = top(lattice, column, row);
            const SolidPoint p11 = top(lattice, column + 1, row + 1);
            put(p00, top(lattice, column + 1, row), p11);
            put(p00, p11, top(lattice, column, row + 1));
        }
    }
    // A wall piece is the quad below one edge segment p..q of the top, seen from outside with
    // p on the left; where an end of the segment lies on the base, one of its two triangles
    // has no area and is left out, and the top or the base shares the edge instead.
    const std::vector<std::array<std::size_t, 2>> edge = solid_detail::boundary(lattice);
    for (std::size_t i = 0; i + 1 < edge.size(); ++i) {
        const SolidPoint p = top(lattice, edge[i][0], edge[i][1]);
        const SolidPoint q = top(lattice, edge[i + 1][0], edge[i + 1][1]);
        const SolidPoint p_base{p.x, p.y, lattice.base};
        const SolidPoint q_base{q.x, q.y, lattice.base};
        if (q.z != lattice.base) {
            put(p_base, q_base, q);
        }
        if (p.z != lattice.base) {
            put(p_base, q, p);
        }
        put(lattice.centre, q_base, p_base);
    }
}

}  // namespace toven
