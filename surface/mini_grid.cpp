#include "surface/mini_grid.h"

#include "surface/page_layout.h"
#include "surface/panel_mapping.h"
#include "surface/visible_point.h"

namespace toven {

void draw_mini_grid(Plotter& plotter, double x1, double x2, double y1, double y2) {
    PanelLayout layout = mini_grid_panel;
    plotter.open_panel(layout, panel_framed);
    plotter.set_world_window(x1, x2, y1, y2);

    const int pen = plotter.pen_number;
    plotter.select_pen(plotter.frame_pen);
    plotter.draw_rect(x1, x2, y1, y2);
    plotter.select_pen(pen);

    // Lines of 1.2 panel widths, cut by the clip region into ten by ten cells.
    plotter.draw_grid(10, 10, 400);

    plotter.select_pen(pen_blue);
    plotter.move_to(x1, 0);
    plotter.line_to(x2, 0);
    plotter.select_pen(pen_cyan);
    plotter.move_to(0, y1);
    plotter.line_to(0, y2);
}

namespace {

// The mouse mapped through the mini grid's world window, which is open, clamped to the box,
// and f there.
SurfacePoint grid_point(Plotter& plotter, FunctionXY& function, platform::Point mouse) {
    const double x = plotter.to_world_x(mouse.x, clamp_on);
    const double y = plotter.to_world_y(mouse.y, clamp_on);
    return {x, y, function.evaluate(x, y)};
}

void write_readout(Plotter& plotter, const SurfacePoint& read) {
    PanelLayout readout = readout_panel;
    plotter.open_panel(readout, panel_framed);
    plotter.print_line("x = %.5f", read.x);
    plotter.print_line("y = %.5f", read.y);
    plotter.print_line("f(x,y) = %.5f", read.z);
}

}  // namespace

void draw_readout(SurfacePlotter& plotter, FunctionXY& function, platform::Point mouse) {
    plotter.marker.remove(*plotter.dc);
    PanelLayout grid = mini_grid_panel;
    plotter.open_panel(grid, panel_unframed);
    const PanelMapping grid_mapping = PanelMapping::of(plotter);
    const std::optional<DrawnSurface>& surface = plotter.drawn_surface;
    const std::optional<SurfacePoint> seen =
        surface ? visible_point(*surface, function, mouse) : std::nullopt;
    const SurfacePoint read = seen ? *seen : grid_point(plotter, function, mouse);
    write_readout(plotter, read);

    if (seen) {
        const platform::Point on_grid{grid_mapping.to_device_x(read.x),
                                      grid_mapping.to_device_y(read.y)};
        plotter.marker.draw(plotter, mini_grid_panel, on_grid, grid_marker_pen);
    } else if (surface && grid_mapping.contains(mouse)) {
        plotter.marker.draw(plotter, surface_panel(PageKind::screen, surface->pen),
                            surface_pixel(*surface, read), surface_marker_pen(surface->pen));
    }
}

}  // namespace toven
