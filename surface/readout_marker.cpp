#include "surface/readout_marker.h"

#include <algorithm>
#include <array>

#include "surface/hidden_line.h"

namespace toven {

namespace {

// Pixels either side of the centre: a cross of 7 by 7 pixels.
constexpr int arm = 3;

platform::Rect intersection(const platform::Rect& a, const platform::Rect& b) {
    const platform::Rect cut{std::max(a.left, b.left), std::max(a.top, b.top),
                             std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return cut.width() > 0 && cut.height() > 0 ? cut : platform::Rect{};
}

int colour_distance(platform::ColourRef a, platform::ColourRef b) {
    const int red = platform::red_of(a) - platform::red_of(b);
    const int green = platform::green_of(a) - platform::green_of(b);
    const int blue = platform::blue_of(a) - platform::blue_of(b);
    return red * red + green * green + blue * blue;
}

}  // namespace

// A cross that could not be taken away again is not drawn.
void ReadoutMarker::draw(Plotter& plotter, PanelLayout layout, platform::Point centre, int pen) {
    platform::Device& device = *plotter.dc;
    plotter.open_panel(layout, panel_unframed);
    const platform::Rect cross{centre.x - arm, centre.y - arm, centre.x + arm + 1,
                               centre.y + arm + 1};
    under_ = device.save_pixels(intersection(cross, plotter.viewport_rect));
    if (!drawn()) {
        return;
    }
    const int previous_pen = plotter.pen_number;
    plotter.select_pen(pen);
    device.move_to(cross.left, centre.y);
    device.line_to(cross.right, centre.y);
    device.move_to(centre.x, cross.top);
    device.line_to(centre.x, cross.bottom);
    plotter.select_pen(previous_pen);
}

void ReadoutMarker::remove(platform::Device& device) {
    if (drawn()) {
        device.restore_pixels(under_);
    }
    forget();
}

int surface_marker_pen(int surface_pen) {
    if (!is_pen_number(surface_pen)) {
        return pen_black;
    }
    const platform::ColourRef upper = pen_colours[static_cast<std::size_t>(surface_pen)];
    const platform::ColourRef lower =
        pen_colours[static_cast<std::size_t>(underside_pen(surface_pen))];
    int best = pen_black;
    int best_distance = -1;
    for (const int candidate : std::array{pen_black, pen_red, pen_green, pen_blue}) {
        const platform::ColourRef colour = pen_colours[static_cast<std::size_t>(candidate)];
        const int distance =
            std::min(colour_distance(colour, upper), colour_distance(colour, lower));
        if (distance > best_distance) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace toven
