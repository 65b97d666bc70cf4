// What the surface tests share: a function of x and y that counts its evaluations, and a
// SurfacePlotter drawing on a recording window with the surface panel set up as a plot does.
#pragma once

#include <cmath>
#include <functional>
#include <utility>

#include "surface/page_layout.h"
#include "surface/surface_plotter.h"
#include "tests/support/recording_device.h"

namespace toven::surface_test {

class CountingFunction final : public FunctionXY {
  public:
    explicit CountingFunction(std::function<double(double, double)> f) : f_(std::move(f)) {}
    double evaluate(double x, double y) override {
        ++evaluations;
        return f_(x, y);
    }
    long evaluations = 0;

  private:
    std::function<double(double, double)> f_;
};

// A plotter whose surface panel (pen `pc`) is open on a recording window.
struct RecordedSurface {
    explicit RecordedSurface(int pc = pen_magenta) {
        const PanelLayout panel = surface_panel(PageKind::screen, pc);
        plotter.begin_output(screen_output);
        plotter.set_colours(panel.brush, panel.frame_pen, panel.pen, panel.text_colour);
        plotter.set_viewport(panel.left, panel.right, panel.bottom, panel.top, clip_on);
        plotter.frame_viewport(panel.brush);
        window.log->clear();
    }
    ~RecordedSurface() { plotter.end_output(); }

    // The device point of a surface point, projected as draw_surface projects its samples.
    platform::Point device_point(double x, double y, double z) const {
        return {plotter.to_device_x(plotter.project_h(x, y)),
                plotter.to_device_y(plotter.project_v(x, y, z))};
    }

    test_support::RecordingWindow window{640, 480};
    SurfacePlotter plotter{&window};
};

}  // namespace toven::surface_test
