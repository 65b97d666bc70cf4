// Reading a surface back from its page: the point of the surface that a pixel of the surface
// panel shows, found with the projection the page was drawn with.
#pragma once

#include <optional>

#include "expr/surface_function.h"
#include "platform/geometry.h"
#include "surface/panel_mapping.h"
#include "surface/sample_lattice.h"
#include "surface/surface_view.h"

namespace toven {

// A surface as it was drawn: its view, its samples, the surface panel's mapping and the
// surface pen.
struct DrawnSurface {
    SurfaceView view;
    SampleLattice lattice;
    PanelMapping panel;
    int pen = 0;
};

struct SurfacePoint {
    double x = 0;
    double y = 0;
    double z = 0;  // f(x, y)
};

// The point of z = f(x, y) seen on `pixel`: where the view ray through the pixel's centre
// first meets the surface, walking from the front edges x = x1 and y = y1 backwards, which is
// the order in which the hidden-line drawing lets nearer curves hide farther ones. It may lie
// on the upper side or the underside. A ray that meets the surface nowhere, but passes within
// a pixel's height of it (an edge or outline drawn on that pixel), reads the point where it
// passes closest. Nothing for a pixel outside the panel or a ray that misses the surface.
// Evaluates f once for every sampling step the ray crosses over the box's base, and a few dozen
// times more to refine the point.
std::optional<SurfacePoint> visible_point(const DrawnSurface& surface, FunctionXY& function,
                                          platform::Point pixel);

// The pixel on which a point of the surface is drawn.
platform::Point surface_pixel(const DrawnSurface& surface, const SurfacePoint& point);

}  // namespace toven
