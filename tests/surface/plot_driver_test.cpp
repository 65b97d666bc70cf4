// Whole pages drawn by the plot driver, checked on their pixels and their drawing calls.
#include <gtest/gtest.h>

#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using platform::ColourRef;
using platform::Rect;
using surface_test::panel_rect;
using surface_test::PlotPage;
using test_support::colours_in;
using test_support::count_colour;
using test_support::most_frequent_colour;

struct PanelCase {
    const char* name;
    PanelLayout panel;
};

Rect inside(const Rect& r) {
    return {r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
}
Rect left_edge(const Rect& r) {
    return {r.left, r.top + 3, r.left + 1, r.bottom - 3};
}

void expect_panel(const platform::Image& image, const PanelCase& panel) {
    SCOPED_TRACE(panel.name);
    const Rect rect = panel_rect(panel.panel);
    EXPECT_EQ(most_frequent_colour(image, inside(rect)), background_colours[panel.panel.brush]);
    EXPECT_EQ(most_frequent_colour(image, left_edge(rect)), pen_colours[panel.panel.frame_pen]);
}

TEST_F(PlotPage, ScreenPageHasItsFourPanels) {
    ASSERT_EQ(plot(), std::nullopt);
    const auto image = picture();
    const PanelCase panels[] = {
        {"surface", surface_panel(PageKind::screen, pen_magenta)},
        {"data", data_panel(PageKind::screen)},
        {"formula", formula_panel},
        {"mini grid", mini_grid_panel},
    };
    for (const PanelCase& panel : panels) {
        expect_panel(image, panel);
    }
    // The readout panel stays blank until the mouse moves.
    EXPECT_EQ(colours_in(image, panel_rect(readout_panel)).size(), 1u);
    EXPECT_EQ(image.at(700, 100), pen_colours[pen_white]);
    // The surface in magenta (pc 13) and its underside in dark magenta.
    const Rect surface = inside(panel_rect(surface_panel(PageKind::screen, pen_magenta)));
    EXPECT_GT(count_colour(image, surface, pen_colours[pen_magenta]), 3000);
    EXPECT_GT(count_colour(image, surface, pen_colours[pen_dark_magenta]), 100);
    EXPECT_TRUE(readout_ready);
}

TEST_F(PlotPage, DataPanelListsTheDataWithRotAndTilt) {
    ASSERT_EQ(plot(), std::nullopt);
    const std::vector<std::string> expected = {
        "a = 3",           "b = 3",
        "c = 1",           "d = 1",
        "e = 1",           "x1        = -1",
        "x2        = 1",   "y1        = -1",
        "y2        = 1",   "z1        = -0.2",
        "z2        = 1.2", "n         = 20",
        "m         = 40",  "rot  =   -26.57",
        "tilt =    15.00", "f(x,y) = sin(|x|^a  + |y|^b)",
    };
    EXPECT_EQ(texts(), expected);
}

TEST_F(PlotPage, PrinterLayoutOnTheScreen) {
    context.print_layout = true;
    ASSERT_EQ(plot(), std::nullopt);
    const auto image = picture();
    const PanelCase panels[] = {
        {"surface", surface_panel(PageKind::printer, pen_magenta)},
        {"data", data_panel(PageKind::printer)},
        {"formula", formula_panel},
    };
    for (const PanelCase& panel : panels) {
        expect_panel(image, panel);
    }
    // Nothing below 20 percent, no readout panel, and frames three pixels wide.
    EXPECT_EQ(colours_in(image, panel_rect(0, 100, 0, 19)).size(), 1u);
    EXPECT_EQ(colours_in(image, panel_rect(readout_panel)).size(), 1u);
    const Rect surface = panel_rect(surface_panel(PageKind::printer, pen_magenta));
    const int mid = (surface.top + surface.bottom) / 2;
    for (int x = surface.left - 1; x <= surface.left + 1; ++x) {
        EXPECT_EQ(image.at(x, mid), pen_colours[pen_dark_green]) << x;
    }
    EXPECT_EQ(plotter.dc, nullptr);
    EXPECT_EQ(plotter.pen_width, 1);
}

TEST_F(PlotPage, FrameBoxOnlyForFc1AndAxesOnlyForAx1) {
    struct Case {
        const char* fc;
        const char* ax;
        bool box;
        bool axes;
    } cases[] = {
        {"fc=0", "ax=0", false, false},
        {"fc=1", "ax=0", true, false},
        {"fc=2", "ax=2", false, false},
        {"fc=0", "ax=1", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fc) + " " + c.ax);
        set(c.fc);
        set(c.ax);
        ASSERT_EQ(plot(), std::nullopt);
        const auto image = picture();
        const Rect surface = inside(panel_rect(surface_panel(PageKind::screen, pen_magenta)));
        EXPECT_EQ(count_colour(image, surface, pen_colours[pen_dark_blue]) > 100, c.box);
        EXPECT_EQ(count_colour(image, surface, pen_colours[pen_green]) > 20, c.axes);  // z
        EXPECT_EQ(count_colour(image, surface, pen_colours[pen_cyan]) > 20, c.axes);   // y
        EXPECT_EQ(count_colour(image, surface, pen_colours[pen_blue]) > 20, c.axes);   // x
    }
}

TEST_F(PlotPage, AFormulaThatDoesNotParseIsReportedAndPlottedFlat) {
    set("f(x,y)=2x");
    ASSERT_EQ(plot(), std::nullopt);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, parse_error_caption);
    EXPECT_EQ(boxes.shown()[0].text, "f(x,y) = 2x");
    EXPECT_TRUE(readout_ready);
}

TEST_F(PlotPage, NothingLeaksAcrossPlotsAndReadouts) {
    const auto before = platform::live_objects();
    ASSERT_EQ(plot(), std::nullopt);
    move_mouse(700, 200);
    ASSERT_EQ(plot(), std::nullopt);
    plotter.end_output();
    EXPECT_EQ(platform::live_objects(), before);
}

}  // namespace
}  // namespace toven
