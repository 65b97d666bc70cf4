// A plot window for the driver's tests: an offscreen picture behind a recording window, so
// a test reads both the pixels and the drawing calls, with data tables of its own at their defaults
// and every message box answered through the seam.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/message_box.h"
#include "platform/picture_files.h"
#include "platform/window.h"
#include "plotter/colour_tables.h"
#include "surface/page_layout.h"
#include "surface/plot_driver.h"
#include "tests/support/pixel_counts.h"
#include "tests/support/recording_device.h"
#include "tests/support/test_tables.h"

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
    // A formula that does not parse is reported in a box of the fixture's own over the
    // window, so that a test sees it in order among the printing questions.
    static constexpr const char* parse_error_caption = "formula fault";

    PlotPage() {
        context.parse_error_sink = [this](const std::string& line) {
            platform::message_box(&window, line, parse_error_caption,
                                  platform::MessageBoxButtons::ok);
        };
    }

    // NAME=VALUE for an item of either table, as the command line takes it.
    void set(std::string_view assignment) {
        const std::size_t equals = assignment.find('=');
        ASSERT_NE(equals, std::string_view::npos) << assignment;
        const std::string_view name = assignment.substr(0, equals);
        const std::string_view value = assignment.substr(equals + 1);
        ASSERT_TRUE(test_support::set_item(fdata, name, value) ||
                    test_support::set_item(sdata, name, value))
            << assignment;
    }

    std::optional<platform::Refusal> plot(OutputDevice printer = screen_output) {
        return draw_plot(context, plot_page, printer);
    }

    void move_mouse(int x, int y) {
        context.mouse_x = x;
        context.mouse_y = y;
        draw_plot(context, plot_readout, screen_output);
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

    DataTable fdata = test_support::default_fdata();
    DataTable sdata = test_support::default_sdata();
    GraphParameters graph_parameters;
    bool readout_ready = false;
    std::unique_ptr<platform::Window> offscreen =
        platform::create_offscreen_window(page_width, page_height);
    test_support::RecordingWindow window{page_width, page_height, offscreen.get()};
    SurfacePlotter plotter{&window};
    SurfaceFunction function{fdata};
    PlotContext context{plotter, function, fdata, sdata, graph_parameters, readout_ready};
    platform::MessageBoxSeam boxes;
};

}  // namespace toven::surface_test
