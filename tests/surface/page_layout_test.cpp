// The page's panels lie apart inside the page, and the colour names name their colours.
#include <gtest/gtest.h>

#include <vector>

#include "platform/colour.h"
#include "surface/page_layout.h"

namespace toven {
namespace {

using platform::rgb;

bool overlap(const PanelLayout& a, const PanelLayout& b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

// A panel that leaves the page, or covers part of another, hides what is drawn there.
TEST(PageLayout, PanelsOfAPageLieApartInsideIt) {
    const std::vector<PanelLayout> screen = {surface_panel(PageKind::screen, pen_red),
                                             data_panel(PageKind::screen), formula_panel,
                                             mini_grid_panel, readout_panel};
    const std::vector<PanelLayout> printer = {surface_panel(PageKind::printer, pen_red),
                                              data_panel(PageKind::printer), formula_panel};
    for (const std::vector<PanelLayout>& page : {screen, printer}) {
        for (std::size_t i = 0; i < page.size(); ++i) {
            const PanelLayout& panel = page[i];
            SCOPED_TRACE(i);
            EXPECT_TRUE(0 <= panel.left && panel.left < panel.right && panel.right <= 100);
            EXPECT_TRUE(0 <= panel.bottom && panel.bottom < panel.top && panel.top <= 100);
            EXPECT_TRUE(is_background_number(panel.brush));
            for (std::size_t j = i + 1; j < page.size(); ++j) {
                EXPECT_FALSE(overlap(panel, page[j])) << "with panel " << j;
            }
        }
    }
    EXPECT_EQ(surface_panel(PageKind::screen, pen_red).pen, pen_red) << "the plot colour";
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
