// A plot window for the driver's tests: an offscreen picture behind a recording window, so
// a test reads both the pixels and the drawing calls, with the data tables at their defaults
// and every message box answered through the seam.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/data_tables.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "plotter/colour_tables.h"
#include "surface/page_layout.h"
#include "surface/plot_driver.h"
#include "tests/support/pixel_counts.h"
#include "tests/support/recording_device.h"

namespace toven::surface_test {

inline constexpr int page_width = 800;
inline constexpr int page_height = 600;

// A panel's device rectangle on the page, from its percentages as viewports are placed.
inline platform::Rect panel_rect(int left, int right, int bottom, int top) {
    return {static_cast<int>(left * page_width * 0.01),
            static_cast<int>((100 - top) * page_height * 0.01),
            static_cast<int>(right * page_width * 0.01),
            static_cast<int>((100 - bottom) * page_height * 0.01)};
}
inline platform::Rect panel_rect(const PanelLayout& panel) {
    return panel_rect(panel.left, panel.right, panel.bottom, panel.top);
}

class PlotPage : public testing::Test {
  protected:
    PlotPage() {
        load_fdata_defaults();
        load_sdata_defaults();
        readout_ready = 0;
    }
    ~PlotPage() override {
        load_fdata_defaults();
        load_sdata_defaults();
        readout_ready = 0;
    }

    void set(const char* assignment) {
        std::string error;
        ASSERT_TRUE(apply_assignment(assignment, error)) << error;
    }

    std::string plot(int printer = 0) { return draw_plot(context, 0, printer); }

    void move_mouse(int x, int y) {
        context.mouse_x = x;
        context.mouse_y = y;
        draw_plot(context, 1, 0);
    }

    platform::Image picture() const { return platform::snapshot(*offscreen); }

    // The texts drawn since the log was last cleared.
    std::vector<std::string> texts() const {
        std::vector<std::string> drawn;
        for (const auto& call : window.log->of(test_support::Call::text_out)) {
            drawn.push_back(call.text);
        }
        return drawn;
    }

    std::unique_ptr<platform::Window> offscreen =
        platform::create_offscreen_window(page_width, page_height);
    test_support::RecordingWindow window{page_width, page_height, offscreen.get()};
    SurfacePlotter plotter{&window};
    SurfaceFunction function{fdata};
    PlotContext context{plotter, function, fdata, sdata};
    platform::MessageBoxSeam boxes;
};

}  // namespace toven::surface_test
