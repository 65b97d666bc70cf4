// The point read over the surface, checked by an independent walk along the view ray: for
// pixels spread over the drawn lines of several pages, the point read projects back onto the
// mouse's pixel, the readout shows it with f there, and no part of the surface lies between
// it and the viewer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "surface/hidden_line.h"
#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using Function = double (*)(double, double);

double default_f(double x, double y) {
    return std::sin(std::pow(std::abs(x), 3) + std::pow(std::abs(y), 3));
}
double waves(double x, double y) {
    return 0.6 * std::sin(3 * x + 2 * y);
}

// Walks from `p` towards the viewer (in front of the edges x = x1 and y = y1) in quarter
// sampling steps while over the base: the surface lies on both sides of the ray there, by
// over a hundredth of a pixel, only if it crosses the ray in front of `p`.
bool surface_in_front(const DrawnSurface& surface, const SurfacePoint& p, Function f) {
    const SurfaceView& view = surface.view;
    const double ds = std::hypot(0.0025, 0.005) / 4 / view.cos_tilt;
    bool above = false, below = false;
    for (double s = ds;; s += ds) {
        const double x = p.x + s * view.sin_rot * view.cos_tilt;
        const double y = p.y - s * view.cos_rot * view.cos_tilt;
        if (std::abs(x) > 1 || std::abs(y) > 1) {
            return above && below;
        }
        const double gap =
            (p.z + s * view.sin_tilt - f(x, y)) * view.cos_tilt * surface.panel.y_scale;
        above = above || gap > 0.01;
        below = below || gap < -0.01;
    }
}

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct PageCase {
    const char* name;
    std::vector<const char*> data;
    Function f;
};
const PageCase pages[] = {
    {"default", {}, default_f},
    {"tilted below zero", {"tilt=-25"}, default_f},
    {"underside in view", {"f(x,y)=0.6*sin(3*x+2*y)"}, waves},
    {"clipped by z2", {"z2=0.4", "tilt=30"}, default_f},
    {"turned", {"turn=100"}, default_f},
    {"turned, underside in view", {"f(x,y)=0.6*sin(3*x+2*y)", "turn=230"}, waves},
};

class VisiblePoint : public surface_test::PlotPage {};

TEST_F(VisiblePoint, PixelsOfTheDrawnLinesReadThePointTheyShow) {
    const platform::ColourRef upper = pen_colours[pen_magenta];
    const platform::ColourRef lower = pen_colours[std::size_t(underside_pen(pen_magenta))];
    const platform::Rect panel = surface_test::panel_rect(surface_panel(PageKind::screen, 13));
    for (const PageCase& page : pages) {
        SCOPED_TRACE(page.name);
        fdata = test_support::default_fdata();
        sdata = test_support::default_sdata();
        for (const char* item : page.data) {
            set(item);
        }
        ASSERT_EQ(plot(), std::nullopt);
        const platform::Image image = picture();
        std::vector<platform::Point> drawn;
        for (int y = panel.top + 1; y < panel.bottom - 1; ++y) {
            for (int x = panel.left + 1; x < panel.right - 1; ++x) {
                if (image.at(x, y) == upper || image.at(x, y) == lower) {
                    drawn.push_back({x, y});
                }
            }
        }
        const DrawnSurface& surface = *plotter.drawn_surface;
        int tried = 0, missed = 0, undersides = 0;
        for (std::size_t i = 0; i < drawn.size(); i += drawn.size() / 150, ++tried) {
            const platform::Point pixel = drawn[i];
            SCOPED_TRACE(testing::Message() << "pixel " << pixel.x << ", " << pixel.y);
            window.log->clear();
            move_mouse(pixel.x, pixel.y);
            const auto p = visible_point(surface, function, pixel);
            missed += !p;
            if (p) {
                undersides += image.at(pixel.x, pixel.y) == lower;
                EXPECT_EQ(texts(),
                          (std::vector{formatted("x = %.5f", p->x), formatted("y = %.5f", p->y),
                                       formatted("f(x,y) = %.5f", page.f(p->x, p->y))}));
                const SurfaceView& view = surface.view;
                const double h = p->x * view.cos_rot + p->y * view.sin_rot;
                const double v = view.project_v(p->x, p->y, p->z);
                EXPECT_NEAR(surface.panel.to_world_x(pixel.x), h, 1 / surface.panel.x_scale);
                EXPECT_NEAR(surface.panel.to_world_y(pixel.y), v, 1 / surface.panel.y_scale);
                EXPECT_FALSE(surface_in_front(surface, *p, page.f));
            }
        }
        EXPECT_LE(missed, tried / 20);
        EXPECT_GE(undersides, page.f == waves ? 10 : 0);
    }
}

}  // namespace
}  // namespace toven
