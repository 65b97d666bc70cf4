// The plot window's Plotter: the Plotter plus the view of a surface (its fields and
// projection come from SurfaceView) and the 3-D operations on it. draw_surface sets the view
// and the world window; the other operations read them and draw on the Plotter's current
// device, which must be open.
#pragma once

#include <optional>

#include "expr/surface_function.h"
#include "platform/refusal.h"
#include "plotter/plotter.h"
#include "surface/plot_work.h"
#include "surface/readout_marker.h"
#include "surface/surface_view.h"
#include "surface/visible_point.h"

namespace toven {

class SurfacePlotter : public Plotter, public SurfaceView {
  public:
    using Plotter::Plotter;

    void move_to_3d(double x, double y, double z);
    void line_to_3d(double x, double y, double z);
    void draw_box(const Box& edges);

    // Draws z = f(x, y) over the box with hidden lines removed, in the current pen and, for
    // the underside, the pen eight below it, on the open output, and keeps it as
    // `drawn_surface`. Returns nothing when drawn, else why the graph data cannot be plotted;
    // then nothing is drawn, the view fields are left as they were and no surface is kept.
    std::optional<platform::Refusal> draw_surface(FunctionXY& function,
                                                  const SurfaceRequest& request);

    // The surface drawn last, as the mouse readout reads it back, and the readout's marker on
    // the page. A new surface has no marker yet.
    std::optional<DrawnSurface> drawn_surface;
    ReadoutMarker marker;
};

// The frame box of the last surface drawn, and the axes through the origin, each in its own
// pen; the pen selected before is selected again.
void draw_frame_box(SurfacePlotter& plotter);
void draw_axes(SurfacePlotter& plotter);

// The whole surface of a panel: the plot weighed for `panel` and refused when it would take
// too long, else drawn, with the frame box and the axes where the switches `fc` and `ax` ask
// for them.
std::optional<platform::Refusal> draw_weighed_surface(SurfacePlotter& plotter, FunctionXY& function,
                                                      const SurfaceRequest& request,
                                                      const SurfacePanel& panel, int fc, int ax);

}  // namespace toven
