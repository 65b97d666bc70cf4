// The surface one page draws, checked and laid out once: its request, its sample lattice and
// its view. The checks, the work estimate, the drawing and then the mouse readout all read
// this one lattice, which for a grid's uneven nodes holds step tables of up to 32 MB: whoever
// holds the plan owns them, and hands them on by moving it.
#pragma once

#include <optional>
#include <variant>

#include "platform/refusal.h"
#include "surface/sample_lattice.h"
#include "surface/surface_request.h"
#include "surface/surface_view.h"

namespace toven {

struct SurfacePlan {
    SurfaceRequest request;
    SampleLattice lattice;
    SurfaceView view;
};

// The plan of `request` once it passes every check of plot_limits.h, else the first refusal.
// The request may refer to a grid's nodes, which must then outlive the plan.
std::variant<SurfacePlan, platform::Refusal> plan_surface(const SurfaceRequest& request);

// Why `request` cannot be drawn, or nothing: plan_surface's refusal, for a check that draws
// nothing.
std::optional<platform::Refusal> surface_refusal(const SurfaceRequest& request);

}  // namespace toven
