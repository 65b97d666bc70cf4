#include "surface/mini_grid.h"

#include "surface/page_layout.h"

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

void draw_readout(Plotter& plotter, FunctionXY& function, int mouse_x, int mouse_y) {
    PanelLayout grid = mini_grid_panel;
    plotter.open_panel(grid, panel_unframed);
    const double x = plotter.to_world_x(mouse_x, clamp_on);
    const double y = plotter.to_world_y(mouse_y, clamp_on);
    const double f = function.evaluate(x, y);

    PanelLayout readout = readout_panel;
    plotter.open_panel(readout, panel_framed);
    plotter.print_line("x = %.5f", x);
    plotter.print_line("y = %.5f", y);
    plotter.print_line("f(x,y) = %.5f", f);
}

}  // namespace toven
