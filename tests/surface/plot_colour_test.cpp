// A plot colour outside the pen table is no fault of the data: the pen is ignored when it is
// selected, so the surface is drawn in the pen the surface panel's frame leaves current.
#include <gtest/gtest.h>

#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using platform::Rect;
using surface_test::panel_rect;
using surface_test::PlotPage;
using test_support::count_colour;

Rect inside(const Rect& r) {
    return {r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
}

struct ColourCase {
    const char* assignment;
    int surface_pen;    // the pen the surface comes out in
    int underside_pen;  // and its underside
};

TEST_F(PlotPage, PlotColoursOutsideThePensDrawInTheFramePen) {
    const ColourCase cases[] = {
        {"pc=13", pen_magenta, pen_dark_magenta},
        {"pc=26", pen_dark_green, pen_dark_green},
        {"pc=-1", pen_dark_green, pen_dark_green},
        {"pc=99999", pen_dark_green, pen_dark_green},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.assignment);
        set(c.assignment);
        boxes.clear_shown();
        ASSERT_EQ(plot(), std::nullopt);
        EXPECT_TRUE(boxes.shown().empty());
        const auto image = picture();
        const Rect surface = inside(panel_rect(surface_panel(PageKind::screen, pen_magenta)));
        EXPECT_GT(count_colour(image, surface, pen_colours[c.surface_pen]), 3000);
        // The default surface shows its underside in a few places: only pc 13 has a shade.
        if (c.underside_pen != c.surface_pen) {
            EXPECT_GT(count_colour(image, surface, pen_colours[c.underside_pen]), 100);
        } else {
            EXPECT_EQ(count_colour(image, surface, pen_colours[pen_magenta]), 0);
            EXPECT_EQ(count_colour(image, surface, pen_colours[pen_dark_magenta]), 0);
        }
        // The rest of the page is as for any plot: data, mini grid and readout.
        const auto drawn = texts();
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), "rot  =   -26.57"), drawn.end());
        EXPECT_TRUE(readout_ready);
        window.log->clear();
        move_mouse(700, 200);
        EXPECT_FALSE(texts().empty());
    }
}

}  // namespace
}  // namespace toven
