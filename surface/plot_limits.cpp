#include "surface/plot_limits.h"

#include <cmath>
#include <cstdio>

#include "surface/surface_view.h"

namespace toven {

namespace {

constexpr std::array<const char*, 6> box_names = {"x1", "x2", "y1", "y2", "z1", "z2"};

using platform::formatted_refusal;

std::optional<platform::Refusal> mesh_refusal(const Mesh& mesh) {
    if (auto refusal = mesh_count_refusal(mesh)) {
        return refusal;
    }
    if (column_count(mesh) > static_cast<double>(max_columns)) {
        return formatted_refusal(
            "The mesh is too large: (n + m) k + 1 = %.0f columns, at most %lld.",
            column_count(mesh), static_cast<long long>(max_columns));
    }
    if (evaluation_count(mesh) > max_evaluations) {
        return formatted_refusal(
            "The mesh is too large: 2nmk + (n + m)k + n + m + 2 = %.0f evaluations of f(x,y), "
            "at most %.0f.",
            evaluation_count(mesh), max_evaluations);
    }
    return std::nullopt;
}

std::optional<platform::Refusal> box_refusal(const Box& box, double tilt) {
    const std::array<double, 6> sides = {box.x1, box.x2, box.y1, box.y2, box.z1, box.z2};
    for (std::size_t i = 0; i < sides.size(); ++i) {
        if (!std::isfinite(sides[i])) {
            return formatted_refusal("The item %s must be a finite number (it is %g).",
                                     box_names[i], sides[i]);
        }
    }
    if (!std::isfinite(tilt)) {
        return formatted_refusal("The item tilt must be a finite number (it is %g).", tilt);
    }
    if (auto refusal = flat_base_refusal(box)) {
        return refusal;
    }
    const auto [x1, x2, y1, y2, z1, z2] = box;
    if (!std::isfinite(x2 - x1) || !std::isfinite(y2 - y1) || !std::isfinite(z2 - z1)) {
        return platform::Refusal{"The box is too large: its sides must be finite numbers."};
    }
    return std::nullopt;
}

bool usable_extent(double low, double high) {
    const double extent = high - low;
    return std::isfinite(extent) && extent != 0;
}

}  // namespace

std::optional<platform::Refusal> mesh_count_refusal(const Mesh& mesh) {
    const auto [n, m, k] = mesh;
    if (m < 1 || n < 1 || k < 1) {
        return formatted_refusal(
            "The mesh needs m, n and k of at least 1 (m = %d, n = %d, k = %d).", m, n, k);
    }
    return std::nullopt;
}

std::optional<platform::Refusal> flat_base_refusal(const Box& box) {
    const auto [x1, x2, y1, y2, z1, z2] = box;
    if (x1 == x2 || y1 == y2) {
        return formatted_refusal(
            "The box needs x1 != x2 and y1 != y2 (x1 = %g, x2 = %g, y1 = %g, y2 = %g).", x1, x2, y1,
            y2);
    }
    return std::nullopt;
}

double column_count(const Mesh& mesh) {
    const auto [n, m, k] = mesh;
    return (static_cast<double>(n) + m) * k + 1;
}

double evaluation_count(const Mesh& mesh) {
    const auto [n, m, k] = mesh;
    const double nd = n;
    const double md = m;
    return 2 * nd * md * k + (nd + md) * k + nd + md + 2;
}

std::optional<platform::Refusal> request_refusal(const SurfaceRequest& request) {
    const auto& [box, mesh, tilt, curves, turn, node_x, node_y] = request;
    if (auto refused = mesh_refusal(mesh)) {
        return refused;
    }
    if (curves == CurveChoice::unknown) {
        return platform::Refusal{
            "The item curves draws \"both\" families of curves, only those along \"x\" or "
            "only those along \"y\": give one of these."};
    }
    if (auto sides = box_refusal(box, tilt)) {
        return sides;
    }
    if (!std::isfinite(turn)) {
        return formatted_refusal("The item turn must be a finite number (it is %g).", turn);
    }
    return std::nullopt;
}

// A turned view may take up to max_step_ratio times the samples along one family, and uneven
// nodes as many more as keep them apart.
std::optional<platform::Refusal> lattice_refusal(const SurfaceRequest& request,
                                                 const SampleLattice& lattice) {
    if (lattice.column_count() <= max_columns && lattice.evaluation_count() <= max_evaluations) {
        return std::nullopt;
    }
    if (lattice.uneven()) {
        return formatted_refusal(
            "The grid's nodes are too unevenly spaced to draw: %.0f evaluations of f(x,y) on %d "
            "columns would set each where it lies, at most %.0f on %lld. Lower n, m or k.",
            lattice.evaluation_count(), lattice.column_count(), max_evaluations,
            static_cast<long long>(max_columns));
    }
    return formatted_refusal(
        "The mesh is too large at turn %g: %.0f evaluations of f(x,y) on %d columns, at most "
        "%.0f on %lld. Lower n, m or k, or turn nearer 0.",
        request.turn, lattice.evaluation_count(), lattice.column_count(), max_evaluations,
        static_cast<long long>(max_columns));
}

std::optional<platform::Refusal> view_refusal(const SurfaceRequest& request,
                                              const SurfaceView& view) {
    const WorldWindow window = projected_box_window(view);
    if (!usable_extent(window.left, window.right) || !usable_extent(window.bottom, window.top)) {
        return formatted_refusal(
            "The box seen at tilt %g has no width or no height on the page: change the box or "
            "the tilt.",
            request.tilt);
    }
    return std::nullopt;
}

}  // namespace toven
