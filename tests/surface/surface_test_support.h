// What the surface tests share: a function of x and y that counts its evaluations, and a
// SurfacePlotter drawing on a recording window with the surface panel set up as a plot does.
#pragma once

#include <cmath>
#include <functional>
#include <utility>

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

// A plotter whose surface panel (5..75 percent, pen `pc`) is open on a recording window.
struct RecordedSurface {
    explicit RecordedSurface(int pc = 13) {
        plotter.begin_output(0);
        plotter.set_colours(6, 2, pc, 1);
        plotter.set_viewport(5, 75, 5, 75, 1);
        plotter.frame_viewport(6);
        window.log->clear();
    }
    ~RecordedSurface() { plotter.end_output(); }

    // The device point of a surface point, projected as draw_surface projects its samples.
    platform::Point device_point(double x, double y, double z) const {
        const double h = x * plotter.cos_rot + y * plotter.sin_rot;
        const double v =
            z * plotter.cos_tilt - x * plotter.sin_rot_sin_tilt + y * plotter.cos_rot_sin_tilt;
        return {plotter.to_device_x(h), plotter.to_device_y(v)};
    }

    test_support::RecordingWindow window{640, 480};
    SurfacePlotter plotter{&window};
};

}  // namespace toven::surface_test
