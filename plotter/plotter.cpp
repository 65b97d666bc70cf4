// Creation, colour numbers, viewports and the world-to-device mapping of the Plotter.
#include "plotter/plotter.h"

#include <algorithm>
#include <cmath>

#include "plotter/device_coordinate.h"

namespace toven {

namespace {

// percent x size x 0.01: the integer product first, then the double factor, truncated.
int percent_of(int percent, int size) {
    const long long product = static_cast<long long>(percent) * size;
    return truncate_to_device(static_cast<double>(product) * 0.01);
}

}  // namespace

Plotter::Plotter(platform::Window* output_window) : window(output_window) {}

// The owning handles give back the objects and the window's device; a print still in
// progress is ended first, without a report.
Plotter::~Plotter() {
    if (printer_dc) {
        finish_print(false);
    }
}

void Plotter::set_colours(int brush, int frame_pen_number, int pen, int text_colour_number) {
    if (!colour_on()) {
        return;
    }
    brush_number = brush;
    frame_pen = frame_pen_number;
    pen_number = pen;
    text_colour = text_colour_number;
}

void Plotter::set_viewport(int left, int right, int bottom, int top, Clipping clip) {
    place_viewport(left, right, bottom, top);
    clip_to_viewport(clip);
    measure_viewport(left, right, bottom, top);
}

void Plotter::place_viewport(int left, int right, int bottom, int top) {
    vp_left = percent_of(left, device_width);
    vp_right = percent_of(right, device_width);
    vp_top = percent_of(100 - top, device_height);
    vp_bottom = percent_of(100 - bottom, device_height);
    viewport_rect = {vp_left, vp_top, vp_right, vp_bottom};

    text_margin = text_x = vp_left + char_width;
    text_y = vp_top + line_height;

    // The new region is made before the one it replaces is deleted.
    viewport_region.reset(platform::create_rect_region(viewport_rect));

    if (dc == nullptr) {
        return;
    }
    // Numbers outside the tables keep what the device has.
    if (is_background_number(brush_number)) {
        dc->select_brush(brushes[brush_number].get());
        dc->set_background_colour(background_colours[brush_number]);
    }
    if (is_pen_number(text_colour)) {
        dc->set_text_colour(pen_colours[text_colour]);
    }
}

void Plotter::clip_to_viewport(Clipping clip) {
    clipping = clip;
    if (dc != nullptr) {
        dc->select_clip_region(clip == clip_on ? viewport_region.get() : nullptr);
    }
}

void Plotter::measure_viewport(int left, int right, int bottom, int top) {
    vp_width = vp_right - vp_left;
    vp_height = vp_bottom - vp_top;
    viewport_aspect = quotient((top - bottom) * device_aspect, right - left);
}

void Plotter::set_world_window(double left, double right, double bottom, double top) {
    world_left = left;
    world_right = right;
    world_bottom = bottom;
    world_top = top;
    world_width = right - left;
    world_height = top - bottom;
    x_scale = quotient(vp_width, world_width);
    y_scale = quotient(vp_height, world_height);
    scale_ratio = quotient(world_width * viewport_aspect, world_height);
}

double Plotter::to_world_x(int px, Clamping clamp) const {
    if (clamp == clamp_on && px <= vp_left) {
        return world_left;
    }
    if (clamp == clamp_on && px >= vp_right) {
        return world_right;
    }
    return quotient(static_cast<double>(px) - vp_left, x_scale) + world_left;
}

double Plotter::to_world_y(int py, Clamping clamp) const {
    if (clamp == clamp_on && py <= vp_top) {
        return world_top;
    }
    if (clamp == clamp_on && py >= vp_bottom) {
        return world_bottom;
    }
    return world_bottom - quotient(static_cast<double>(py) - vp_bottom, y_scale);
}

}  // namespace toven
