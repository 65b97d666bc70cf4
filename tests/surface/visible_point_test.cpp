// The point read over the surface, checked against the page by an independent walk along the
// view ray. For pixels spread over the drawn lines of several pages, the point read lies on
// the mouse's pixel, the readout shows it with f there, and no part of the surface lies
// between it and the viewer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "surface/hidden_line.h"
#include "surface/visible_point.h"
#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using platform::Point;

constexpr double radians_per_degree = 0.017453292519943295;

// The view of the pages' box -1..1 by -1..1 over a mesh of 20 by 40, from the geometry of a
// parallel projection: turned so that the samples fall on page columns, tilted, the projected
// box filling the surface panel, the viewer in front of the edges x = x1 and y = y1.
struct Camera {
    Camera(double tilt_degrees, double z1, double z2)
        : rot(-std::atan(20.0 / 40.0)), tilt(tilt_degrees * radians_per_degree) {
        left = h(-1, 1);
        right = h(1, -1);
        bottom = tilt >= 0 ? v(-1, -1, z1) : v(1, 1, z1);
        top = tilt >= 0 ? v(1, 1, z2) : v(-1, -1, z2);
    }
    double h(double x, double y) const { return x * std::cos(rot) + y * std::sin(rot); }
    double v(double x, double y, double z) const {
        return z * std::cos(tilt) + std::sin(tilt) * (y * std::cos(rot) - x * std::sin(rot));
    }
    double pixels_per_v() const { return panel.height() / (top - bottom); }
    // Where a point lands on the device, before rounding to a pixel: a pixel's centre is at
    // whole numbers.
    double device_x(double x, double y) const {
        return panel.left + (h(x, y) - left) * panel.width() / (right - left);
    }
    double device_y(double x, double y, double z) const {
        return panel.bottom - (v(x, y, z) - bottom) * pixels_per_v();
    }

    double rot;
    double tilt;
    double left, right, bottom, top;
    platform::Rect panel = surface_test::panel_rect(surface_panel(PageKind::screen, pen_magenta));
};

using Function = std::function<double(double, double)>;

// Walks from `p` towards the viewer in quarter sampling steps until the ray leaves the box's
// base: the ray passes through the surface there if the surface lies on both sides of it (by
// more than a hundredth of a pixel).
bool surface_in_front(const Camera& camera, const Function& f, const SurfacePoint& p) {
    const double dx = std::sin(camera.rot) * std::cos(camera.tilt);
    const double dy = -std::cos(camera.rot) * std::cos(camera.tilt);
    const double dz = std::sin(camera.tilt);
    const double ds = std::hypot(2.0 / 40 / 20, 2.0 / 20 / 20) / 4 / std::cos(camera.tilt);
    bool above = false;
    bool below = false;
    for (double s = ds;; s += ds) {
        const double x = p.x + s * dx;
        const double y = p.y + s * dy;
        if (x < -1 || y < -1 || x > 1 || y > 1) {
            break;
        }
        const double gap = (p.z + s * dz - f(x, y)) * std::cos(camera.tilt) * camera.pixels_per_v();
        above = above || gap > 0.01;
        below = below || gap < -0.01;
    }
    return above && below;
}

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct PageCase {
    const char* name;
    std::vector<const char*> data;
    double tilt;
    double z2;
    Function f;
    bool underside_in_view;
};

double default_f(double x, double y) {
    return std::sin(std::pow(std::abs(x), 3) + std::pow(std::abs(y), 3));
}

const PageCase pages[] = {
    {"default", {}, 15, 1.2, default_f, false},
    {"tilted below zero", {"tilt=-25"}, -25, 1.2, default_f, false},
    {"underside in view",
     {"f(x,y)=0.6*sin(3*x+2*y)"},
     15,
     1.2,
     [](double x, double y) { return 0.6 * std::sin(3 * x + 2 * y); },
     true},
    {"clipped by z2", {"z2=0.4", "tilt=30"}, 30, 0.4, default_f, false},
};

class VisiblePoint : public surface_test::PlotPage {};

TEST_F(VisiblePoint, PixelsOfTheDrawnLinesReadThePointTheyShow) {
    const platform::ColourRef upper = pen_colours[pen_magenta];
    const platform::ColourRef lower =
        pen_colours[static_cast<std::size_t>(underside_pen(pen_magenta))];
    for (const PageCase& page : pages) {
        SCOPED_TRACE(page.name);
        fdata = test_support::default_fdata();
        sdata = test_support::default_sdata();
        for (const char* item : page.data) {
            set(item);
        }
        ASSERT_EQ(plot(), std::nullopt);
        const platform::Image image = picture();
        const Camera camera(page.tilt, -0.2, page.z2);
        std::vector<Point> drawn;
        for (int y = camera.panel.top + 1; y < camera.panel.bottom - 1; ++y) {
            for (int x = camera.panel.left + 1; x < camera.panel.right - 1; ++x) {
                if (image.at(x, y) == upper || image.at(x, y) == lower) {
                    drawn.push_back({x, y});
                }
            }
        }
        ASSERT_GT(drawn.size(), 1000u);

        int tried = 0, missed = 0, undersides = 0;
        for (std::size_t i = 0; i < drawn.size(); i += drawn.size() / 150) {
            const Point pixel = drawn[i];
            SCOPED_TRACE(testing::Message() << "pixel " << pixel.x << ", " << pixel.y);
            ++tried;
            window.log->clear();
            move_mouse(pixel.x, pixel.y);
            const auto p = visible_point(*plotter.drawn_surface, function, pixel);
            if (!p) {
                ++missed;
                continue;
            }
            undersides += image.at(pixel.x, pixel.y) == lower;
            EXPECT_EQ(texts(),
                      (std::vector{formatted("x = %.5f", p->x), formatted("y = %.5f", p->y),
                                   formatted("f(x,y) = %.5f", p->z)}));
            EXPECT_NEAR(p->z, page.f(p->x, p->y), 1e-12);
            EXPECT_NEAR(camera.device_x(p->x, p->y), pixel.x, 1.0);
            EXPECT_NEAR(camera.device_y(p->x, p->y, p->z), pixel.y, 1.0);
            EXPECT_FALSE(surface_in_front(camera, page.f, *p));
        }
        EXPECT_LE(missed, tried / 20);
        if (page.underside_in_view) {
            EXPECT_GE(undersides, 10);
        }
    }
}

// Over a flat surface seen from above, a ray meets nothing above its back edges, below its
// front edges or outside the panel; a ray that just misses the front corner reads it.
TEST_F(VisiblePoint, ReadsNothingWhereTheRayMeetsNoSurface) {
    set("f(x,y)=0*x");
    ASSERT_EQ(plot(), std::nullopt);
    const DrawnSurface& surface = *plotter.drawn_surface;
    const platform::Rect panel = surface.panel.viewport;
    const Point corner = surface_pixel(surface, {-1, -1, 0});
    const Point misses[] = {{panel.left + 2, panel.top + 2},
                            {corner.x, corner.y + 3},
                            {panel.left - 1, corner.y},
                            {panel.right, corner.y - 50}};
    for (const Point pixel : misses) {
        EXPECT_FALSE(visible_point(surface, function, pixel)) << pixel.x << ", " << pixel.y;
    }
    const auto read = visible_point(surface, function, corner);
    ASSERT_TRUE(read);
    EXPECT_NEAR(read->x, -1, 0.01);
    EXPECT_NEAR(read->y, -1, 0.01);
}

}  // namespace
}  // namespace toven
