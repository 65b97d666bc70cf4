// The mapping between world coordinates and the device pixels of one panel, kept from the
// Plotter while it maps that panel, so that its pixels can still be read once the Plotter has
// moved on to other panels. It maps as the Plotter does: a world point to the pixel it is
// drawn on, and a pixel back to the world point at its centre.
#pragma once

#include "platform/geometry.h"
#include "plotter/device_coordinate.h"
#include "plotter/plotter.h"

namespace toven {

struct PanelMapping {
    platform::Rect viewport;  // device units, right and bottom edges outside
    double world_left = 0;
    double world_bottom = 0;
    double x_scale = 1;  // device units per world unit
    double y_scale = 1;

    // The Plotter's current viewport and world window.
    static PanelMapping of(const Plotter& plotter) {
        return {plotter.viewport_rect, plotter.world_left, plotter.world_bottom, plotter.x_scale,
                plotter.y_scale};
    }

    bool contains(platform::Point pixel) const {
        return pixel.x >= viewport.left && pixel.x < viewport.right && pixel.y >= viewport.top &&
               pixel.y < viewport.bottom;
    }

    int to_device_x(double x) const {
        return truncate_to_device((x - world_left) * x_scale + viewport.left + 0.5);
    }
    int to_device_y(double y) const {
        return truncate_to_device(viewport.bottom - (y - world_bottom) * y_scale + 0.5);
    }
    double to_world_x(int px) const {
        return quotient(static_cast<double>(px) - viewport.left, x_scale) + world_left;
    }
    double to_world_y(int py) const {
        return world_bottom - quotient(static_cast<double>(py) - viewport.bottom, y_scale);
    }
};

}  // namespace toven
