#include "surface/surface_plan.h"

#include <utility>

#include "surface/plot_limits.h"

namespace toven {

std::variant<SurfacePlan, platform::Refusal> plan_surface(const SurfaceRequest& request) {
    if (auto refusal = request_refusal(request)) {
        return std::move(*refusal);
    }
    SampleLattice lattice = make_lattice(request);
    if (auto refusal = lattice_refusal(request, lattice)) {
        return std::move(*refusal);
    }
    const SurfaceView view = make_view(request, lattice);
    if (auto refusal = view_refusal(request, view)) {
        return std::move(*refusal);
    }
    return SurfacePlan{request, std::move(lattice), view};
}

std::optional<platform::Refusal> surface_refusal(const SurfaceRequest& request) {
    auto plan = plan_surface(request);
    if (auto* refusal = std::get_if<platform::Refusal>(&plan)) {
        return std::move(*refusal);
    }
    return std::nullopt;
}

}  // namespace toven
