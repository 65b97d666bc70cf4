// Pens, fills, frames, panels, lines and grids of the Plotter, in world coordinates where
// they take doubles.
#include "plotter/plotter.h"

#include "plotter/device_coordinate.h"

namespace toven {

void Plotter::select_pen(int number) {
    if (!is_pen_number(number) || !colour_on()) {
        return;
    }
    if (dc != nullptr) {
        dc->select_pen(pens[number].get());
    }
    pen_number = number;
}

void Plotter::set_pen_width(int width) {
    pen_width = width;
    // Without an output the pens would have nothing to draw on: begin_output makes them.
    if (dc == nullptr) {
        return;
    }
    make_pens();
    if (printer_dc) {
        printer_dc->select_pen(pens[pen_black].get());
    }
}

void Plotter::fill_viewport(int brush) {
    if (!colour_on() || !is_background_number(brush)) {
        return;
    }
    brush_number = brush;
    if (dc == nullptr || viewport_region == nullptr) {
        return;
    }
    dc->select_brush(brushes[brush].get());
    dc->fill_region(*viewport_region, *brushes[brush]);
}

void Plotter::draw_frame(int pen) {
    if (dc == nullptr) {
        return;
    }
    // A wide pen is centred on the viewport's edge: without clipping its outer half stays.
    const bool lifted = clipping == clip_on;
    if (lifted) {
        clipping = clip_off;
        dc->select_clip_region(nullptr);
    }
    const int remembered = pen_number;
    select_pen(pen == current_frame_pen ? frame_pen : pen);
    dc->rectangle(vp_left, vp_top, vp_right, vp_bottom);
    if (lifted) {
        clipping = clip_on;
        dc->select_clip_region(viewport_region.get());
    }
    select_pen(remembered);
}

void Plotter::frame_viewport(int brush) {
    fill_viewport(brush);
    draw_frame(frame_pen);
    text_margin = text_x = vp_left + char_width;
    text_y = vp_top + line_height / 3;
}

void Plotter::open_panel(PanelLayout& layout, PanelFrame framed) {
    if (colour_on()) {
        brush_number = layout.brush;
        frame_pen = layout.frame_pen;
        pen_number = layout.pen;
        text_colour = layout.text_colour;
    }
    place_viewport(layout.left, layout.right, layout.bottom, layout.top);
    clip_to_viewport(clip_on);
    measure_viewport(layout.left, layout.right, layout.bottom, layout.top);
    text_x = layout.text_x;
    text_y = layout.text_y;
    if (framed != panel_unframed) {
        frame_viewport(layout.brush);
        layout.text_x = text_x;
        layout.text_y = text_y;
    }
}

void Plotter::set_current_point(double x, double y) {
    cur_x = x;
    cur_y = y;
    cur_px = to_device_x(x);
    cur_py = to_device_y(y);
}

void Plotter::move_to(double x, double y) {
    set_current_point(x, y);
    if (dc != nullptr) {
        dc->move_to(cur_px, cur_py);
    }
}

void Plotter::line_to(double x, double y) {
    set_current_point(x, y);
    if (dc != nullptr) {
        dc->line_to(cur_px, cur_py);
    }
}

void Plotter::draw_rect(double left, double right, double bottom, double top) {
    move_to(left, bottom);
    line_to(right, bottom);
    line_to(right, top);
    line_to(left, top);
    line_to(left, bottom);
}

void Plotter::draw_grid(int nx, int ny, int length) {
    const int remembered = pen_number;
    select_pen(frame_pen);
    if (static_cast<long long>(nx) * ny * length != 0) {
        saved_window = {world_left, world_right, world_bottom, world_top};
        set_world_window(0, nx, 0, ny);
        // Both division lines are 0.003 x length viewport widths long on the device: ticks
        // along the bottom and left edges for a small length, lines across the viewport, cut
        // by its clip region, for a large one.
        const double line_x = length * world_width * 0.003;
        const double line_y = quotient(line_x, scale_ratio);
        for (int i = 1; i < nx; ++i) {
            move_to(i, 0);
            line_to(i, line_y);
        }
        for (int j = 1; j < ny; ++j) {
            move_to(0, j);
            line_to(line_x, j);
        }
        set_world_window(saved_window[0], saved_window[1], saved_window[2], saved_window[3]);
    }
    select_pen(remembered);
}

}  // namespace toven
