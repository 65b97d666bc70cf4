// The page's panels and the colour names: the one place where their numbers are written out.
#include <gtest/gtest.h>

#include "platform/colour.h"
#include "surface/page_layout.h"

namespace toven {
namespace {

using platform::rgb;

struct PanelRow {
    const char* name;
    PanelLayout panel;
    int left, right, bottom, top;
    int brush, frame_pen, pen, text_colour;
};

TEST(PageLayout, PanelsLieWhereThePageNeedsThem) {
    const PanelRow rows[] = {
        {"surface", surface_panel(PageKind::screen, 13), 5, 75, 5, 75, 6, 2, 13, 1},
        {"surface printed", surface_panel(PageKind::printer, 11), 5, 75, 20, 75, 6, 2, 11, 1},
        {"data", data_panel(PageKind::screen), 77, 98, 5, 52, 4, 12, 2, 2},
        {"data printed", data_panel(PageKind::printer), 77, 98, 20, 75, 4, 12, 2, 2},
        {"formula", formula_panel, 5, 75, 77, 90, 3, 2, 1, 1},
        {"mini grid", mini_grid_panel, 77, 98, 54, 75, 6, 2, 1, 1},
        {"readout", readout_panel, 77, 98, 77, 90, 2, 12, 1, 1},
    };
    for (const PanelRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.panel.left, row.left);
        EXPECT_EQ(row.panel.right, row.right);
        EXPECT_EQ(row.panel.bottom, row.bottom);
        EXPECT_EQ(row.panel.top, row.top);
        EXPECT_EQ(row.panel.brush, row.brush);
        EXPECT_EQ(row.panel.frame_pen, row.frame_pen);
        EXPECT_EQ(row.panel.pen, row.pen);
        EXPECT_EQ(row.panel.text_colour, row.text_colour);
    }
}

struct ColourRow {
    const char* name;
    int number;
    platform::ColourRef colour;
};

TEST(ColourNames, PensAreNamedByTheirColours) {
    const ColourRow rows[] = {
        {"black", pen_black, rgb(0, 0, 0)},
        {"dark blue", pen_dark_blue, rgb(0, 0, 160)},
        {"dark green", pen_dark_green, rgb(0, 160, 0)},
        {"dark red", pen_dark_red, rgb(160, 0, 0)},
        {"dark cyan", pen_dark_cyan, rgb(0, 160, 160)},
        {"dark magenta", pen_dark_magenta, rgb(160, 0, 160)},
        {"dark yellow", pen_dark_yellow, rgb(160, 160, 0)},
        {"grey", pen_grey, rgb(160, 160, 160)},
        {"orange", pen_orange, rgb(255, 128, 0)},
        {"blue", pen_blue, rgb(0, 0, 255)},
        {"green", pen_green, rgb(0, 255, 0)},
        {"red", pen_red, rgb(255, 0, 0)},
        {"cyan", pen_cyan, rgb(0, 255, 255)},
        {"magenta", pen_magenta, rgb(255, 0, 255)},
        {"yellow", pen_yellow, rgb(255, 255, 0)},
        {"white", pen_white, rgb(255, 255, 255)},
    };
    for (const ColourRow& row : rows) {
        EXPECT_EQ(pen_colours[row.number], row.colour) << row.name;
    }
    EXPECT_EQ(pen_blue - dark_shade_offset, pen_dark_blue);
    EXPECT_EQ(pen_yellow - dark_shade_offset, pen_dark_yellow);
}

TEST(ColourNames, BrushesAreNamedByTheirColours) {
    const ColourRow rows[] = {
        {"black", brush_black, rgb(0, 0, 0)},
        {"azure", brush_azure, rgb(240, 255, 255)},
        {"pale pink", brush_pale_pink, rgb(255, 230, 255)},
        {"pale orange", brush_pale_orange, rgb(255, 230, 200)},
        {"pale cyan", brush_pale_cyan, rgb(230, 255, 255)},
        {"white", brush_white, rgb(255, 255, 255)},
        {"pale yellow", brush_pale_yellow, rgb(253, 254, 218)},
        {"pale green", brush_pale_green, rgb(226, 253, 220)},
        {"lemon", brush_lemon, rgb(251, 255, 202)},
        {"pale magenta", brush_pale_magenta, rgb(255, 200, 255)},
    };
    for (const ColourRow& row : rows) {
        EXPECT_EQ(background_colours[row.number], row.colour) << row.name;
    }
}

}  // namespace
}  // namespace toven
