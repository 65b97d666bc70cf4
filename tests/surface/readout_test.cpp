// The mouse readout: the mouse mapped through the mini grid (clamped to the box), f there,
// and when the readout must draw nothing at all.
#include <gtest/gtest.h>

#include "platform/printing.h"
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
        {"over the surface panel",
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

TEST_F(Readout, FillsOnlyTheReadoutPanel) {
    plot_and_take_grid();
    const auto before = picture();
    move_mouse((left + right) / 2, (top + bottom) / 2);
    const auto after = picture();
    const platform::Rect readout = surface_test::panel_rect(readout_panel);
    int changed_outside = 0;
    for (int y = 0; y < after.height; ++y) {
        for (int x = 0; x < after.width; ++x) {
            const bool in_panel =
                x >= readout.left && x < readout.right && y >= readout.top && y < readout.bottom;
            changed_outside += !in_panel && after.at(x, y) != before.at(x, y);
        }
    }
    EXPECT_EQ(changed_outside, 0);
    EXPECT_EQ(test_support::most_frequent_colour(after, readout),
              background_colours[brush_pale_pink]);
}

TEST_F(Readout, DrawsNothingBeforeAPlotOrAfterAResize) {
    move_mouse(700, 200);
    EXPECT_TRUE(window.log->calls.empty());
    plot_and_take_grid();
    readout_ready = 0;  // as a resize of any child window leaves it
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
    ASSERT_EQ(plot(1), std::nullopt);
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
