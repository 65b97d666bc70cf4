// The plot window's Plotter: the Plotter plus the view of a surface (its fields and
// projection come from SurfaceView) and the 3-D operations on it. draw_surface sets the view
// and the world window; the other operations read them and draw on the Plotter's current
// device, which must be open.
#pragma once

#include <optional>

#include "expr/surface_function.h"
#include "platform/refusal.h"
#include "plotter/plotter.h"
#include "surface/hidden_line_storage.h"
#include "surface/plot_work.h"
#include "surface/readout_marker.h"
#include "surface/surface_plan.h"
#include "surface/surface_view.h"
#include "surface/visible_point.h"

namespace toven {

class SurfacePlotter : public Plotter, public SurfaceView {
  public:
    using Plotter::Plotter;

    void move_to_3d(double x, double y, double z);
    void line_to_3d(double x, double y, double z);
    void draw_box(const Box& edges);

    // Draws z = f(x, y) of `plan` with hidden lines removed, in the current pen and, for the
    // underside, the pen eight below it, on the open output, and keeps it as `drawn_surface`,
    // which takes over the plan's lattice. Returns nothing when drawn, else why not (too little
    // memory); then nothing is drawn, the view fields are left as they were and no surface is
    // kept.
    std::optional<platform::Refusal> draw_surface(FunctionXY& function, SurfacePlan plan);
    // The same for a surface not yet planned: a request that plan_surface refuses draws
    // nothing and returns its refusal.
    std::optional<platform::Refusal> draw_surface(FunctionXY& function,
                                                  const SurfaceRequest& request);

    // The surface drawn last, as the mouse readout reads it back, and the readout's marker on
    // the page. A new surface has no marker yet.
    std::optional<DrawnSurface> drawn_surface;
    ReadoutMarker marker;
    // The memory of the hidden-line drawing, kept for this plotter's next page.
    HiddenLineStorage hidden_line_storage;
};

// The frame box of the last surface drawn, and the axes through the origin, each in its own
// pen; the pen selected before is selected again.
void draw_frame_box(SurfacePlotter& plotter);
void draw_axes(SurfacePlotter& plotter);

// The whole surface of a panel: the plot weighed for `panel` and refused when it would take
// too long, else drawn, with the frame box and the axes where the switches `fc` and `ax` ask
// for them. The plotter's drawn_surface takes over the plan's lattice.
std::optional<platform::Refusal> draw_weighed_surface(SurfacePlotter& plotter, FunctionXY& function,
                                                      SurfacePlan plan, const SurfacePanel& panel,
                                                      int fc, int ax);

}  // namespace toven
