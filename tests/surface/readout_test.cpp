// The mouse readout: the mouse mapped through the mini grid (clamped to the box), f there,
// the crosses that link the surface and the mini grid, and when the readout must draw nothing
// at all.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "platform/printing.h"
#include "surface/hidden_line.h"
#include "surface/readout_marker.h"
#include "surface/visible_point.h"
#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using surface_test::PlotPage;
using test_support::Call;
using test_support::RecordingDevice;

class Readout : public PlotPage {
  protected:
    // After a screen plot the Plotter's viewport is the mini grid's.
    void plot_and_take_grid() {
        ASSERT_EQ(plot(), std::nullopt);
        left = plotter.vp_left;
        right = plotter.vp_right;
        top = plotter.vp_top;
        bottom = plotter.vp_bottom;
        window.log->clear();
    }

    int left = 0, right = 0, top = 0, bottom = 0;
};

TEST_F(Readout, MapsTheMouseThroughTheMiniGrid) {
    plot_and_take_grid();
    const int centre_x = (left + right) / 2;
    const int centre_y = (top + bottom) / 2;
    struct Case {
        const char* name;
        int mouse_x, mouse_y;
        std::vector<std::string> lines;
    } cases[] = {
        {"centre", centre_x, centre_y, {"x = 0.00000", "y = 0.00000", "f(x,y) = 0.00000"}},
        {"a quarter in from the left",
         left + (right - left) / 4,
         centre_y,
         {"x = -0.50000", "y = 0.00000", "f(x,y) = 0.12467"}},
        {"lower left corner", left, bottom, {"x = -1.00000", "y = -1.00000", "f(x,y) = 0.90930"}},
        {"beyond the lower left", 0, 599, {"x = -1.00000", "y = -1.00000", "f(x,y) = 0.90930"}},
        {"beyond the upper right",
         right + 10,
         top - 10,
         {"x = 1.00000", "y = 1.00000", "f(x,y) = 0.90930"}},
        {"over the surface panel, above the surface",
         100,
         centre_y,
         {"x = -1.00000", "y = 0.00000", "f(x,y) = 0.84147"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.log->clear();
        move_mouse(c.mouse_x, c.mouse_y);
        EXPECT_EQ(texts(), c.lines);
    }
}

// The pixels that differ between two pictures outside the given rectangles.
int changed_outside(const platform::Image& before, const platform::Image& after,
                    std::initializer_list<platform::Rect> allowed) {
    int changed = 0;
    for (int y = 0; y < after.height; ++y) {
        for (int x = 0; x < after.width; ++x) {
            bool in = false;
            for (const platform::Rect& r : allowed) {
                in = in || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            }
            changed += !in && after.at(x, y) != before.at(x, y);
        }
    }
    return changed;
}

const platform::Rect readout_rect = surface_test::panel_rect(readout_panel);

TEST_F(Readout, FillsOnlyTheReadoutPanelWhereThereIsNothingToMark) {
    plot_and_take_grid();
    const auto before = picture();
    move_mouse(700, 500);  // over the data panel
    const auto after = picture();
    EXPECT_EQ(changed_outside(before, after, {readout_rect}), 0);
    EXPECT_EQ(test_support::most_frequent_colour(after, readout_rect),
              background_colours[brush_pale_pink]);
}

// Over the surface the point seen is marked on the mini grid, over the mini grid the point
// read is marked on the surface in a pen unlike both its sides; each cross goes at the next
// move, and the page under it comes back without being drawn again.
TEST_F(Readout, MarksThePointReadInTheOtherView) {
    plot_and_take_grid();
    const auto before = picture();
    const auto cross_around = [](platform::Point c) {
        return platform::Rect{c.x - 3, c.y - 3, c.x + 4, c.y + 4};
    };
    const auto seen = visible_point(*plotter.drawn_surface, function, {320, 360});
    ASSERT_TRUE(seen);
    move_mouse(320, 360);
    const platform::Point on_grid{
        static_cast<int>(left + (seen->x + 1) / 2 * (right - left) + 0.5),
        static_cast<int>(bottom - (seen->y + 1) / 2 * (bottom - top) + 0.5)};
    auto after = picture();
    EXPECT_EQ(after.at(on_grid.x, on_grid.y), pen_colours[grid_marker_pen]);
    EXPECT_EQ(test_support::count_colour(after, pen_colours[grid_marker_pen]), 13);
    EXPECT_EQ(changed_outside(before, after, {readout_rect, cross_around(on_grid)}), 0);

    window.log->clear();
    const platform::Point mouse{left + (right - left) / 4, (top + bottom) / 2};
    move_mouse(mouse.x, mouse.y);
    const double x = -1 + (mouse.x - left) * 2.0 / (right - left);
    const double y = -1 + (bottom - mouse.y) * 2.0 / (bottom - top);
    const double f = std::sin(std::pow(std::abs(x), 3) + std::pow(std::abs(y), 3));
    const platform::Point on_surface = surface_pixel(*plotter.drawn_surface, {x, y, f});
    const platform::ColourRef cross = pen_colours[surface_marker_pen(pen_magenta)];
    after = picture();
    EXPECT_EQ(after.at(on_surface.x, on_surface.y), cross);
    EXPECT_EQ(test_support::count_colour(after, cross), 13);
    EXPECT_EQ(changed_outside(before, after, {readout_rect, cross_around(on_surface)}), 0);
    EXPECT_EQ(window.log->count(Call::rectangle), 1);  // the readout panel's frame alone
    for (const int pc : {pen_black, pen_dark_blue, pen_grey, pen_orange, pen_green, pen_magenta}) {
        const platform::ColourRef marker = pen_colours[std::size_t(surface_marker_pen(pc))];
        EXPECT_NE(marker, pen_colours[std::size_t(pc)]);
        EXPECT_NE(marker, pen_colours[std::size_t(underside_pen(pc))]);
    }

    move_mouse(700, 500);
    EXPECT_EQ(changed_outside(before, picture(), {readout_rect}), 0);
}

TEST_F(Readout, DrawsNothingBeforeAPlotOrAfterAResize) {
    move_mouse(700, 200);
    EXPECT_TRUE(window.log->calls.empty());
    plot_and_take_grid();
    readout_ready = false;  // as a resize of any child window leaves it
    move_mouse(700, 200);
    EXPECT_TRUE(window.log->calls.empty());
}

// A print ends output: the Plotter holds no device and the printed page's mapping, so a
// readout waits for the next screen plot.
TEST_F(Readout, DrawsNothingAfterAPrintUntilTheNextScreenPlot) {
    plot_and_take_grid();
    platform::PrinterEntrySeam entry("Recorder,winspool,Ne00:");
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    auto printed = std::make_shared<test_support::CallLog>();
    plotter.open_printer = [printed](const std::string&) {
        return std::make_unique<RecordingDevice>("printer", printed);
    };
    ASSERT_EQ(plot(printer_output), std::nullopt);
    EXPECT_EQ(printed->count(Call::start_page), 1);
    EXPECT_EQ(printed->count(Call::end_document), 1);
    for (const auto& segment : printed->segments) {
        ASSERT_EQ(segment.width, 3);
    }
    EXPECT_EQ(plotter.dc, nullptr);

    window.log->clear();
    move_mouse(700, 200);
    EXPECT_TRUE(window.log->calls.empty());

    plot_and_take_grid();
    move_mouse(700, 200);
    EXPECT_EQ(texts().size(), 3u);
}

}  // namespace
}  // namespace toven
