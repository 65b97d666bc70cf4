// Graph data that cannot be plotted: a refusal for the caller to show (the shell's box is
// tested in tests/app), the panels around an empty surface, no readouts, and never a print.
#include <gtest/gtest.h>

#include "surface/plot_limits.h"
#include "surface/surface_plan.h"
#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using surface_test::panel_rect;
using surface_test::PlotPage;
using test_support::count_colour;

struct RefusalCase {
    const char* name;
    std::vector<const char*> assignments;
    const char* message_part;
};

const RefusalCase refusal_cases[] = {
    {"m below 1", {"m=0"}, "at least 1 (m = 0, n = 20, k = 20)"},
    {"k negative", {"k=-3"}, "at least 1"},
    {"x1 = x2", {"x2=-1"}, "x1 != x2"},
    {"y1 = y2", {"y1=1"}, "y1 != y2"},
    {"z2 not finite", {"z2=inf"}, "z2 must be a finite number"},
    {"tilt not a number", {"tilt=nan"}, "tilt must be a finite number"},
    {"a box side beyond the doubles", {"x1=-1e308", "x2=1e308"}, "sides must be finite"},
    {"a flat box seen edge-on", {"z2=-0.2", "tilt=0"}, "no width or no height"},
    {"too many columns", {"n=100000", "m=100000", "k=100"}, "20000001 columns"},
    {"too many evaluations", {"n=1000", "m=1000", "k=200"}, "evaluations of f(x,y)"},
    {"a mesh that would keep the window busy for long",
     {"n=3000", "m=3000", "k=30"},
     "evaluations of f(x,y)"},
    {"counts whose products overflow an int",
     {"n=2000000000", "m=2000000000", "k=2000000000"},
     "columns"},
};

class PlotRefusal : public PlotPage, public testing::WithParamInterface<RefusalCase> {};

TEST_P(PlotRefusal, ShowsTheDataAndTheMessageButNoSurface) {
    for (const char* assignment : GetParam().assignments) {
        set(assignment);
    }
    const auto refusal = plot();
    ASSERT_TRUE(refusal);
    const std::string& message = refusal->message;
    EXPECT_NE(message.find(GetParam().message_part), std::string::npos) << message;
    EXPECT_TRUE(boxes.shown().empty()) << "the caller decides whether to show it";

    const auto image = picture();
    const platform::Rect surface = panel_rect(surface_panel(PageKind::screen, pen_magenta));
    EXPECT_EQ(count_colour(image, surface, pen_colours[pen_magenta]), 0);
    EXPECT_EQ(count_colour(image, surface, pen_colours[pen_dark_magenta]), 0);
    EXPECT_EQ(test_support::most_frequent_colour(image, panel_rect(data_panel(PageKind::screen))),
              background_colours[brush_pale_cyan]);
    const auto drawn = texts();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), message), drawn.end());
    // No view was set up, so the angles are not shown as numbers.
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "rot  =        -"), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "tilt =        -"), drawn.end());

    EXPECT_FALSE(readout_ready);
    window.log->clear();
    move_mouse(700, 200);
    EXPECT_TRUE(window.log->calls.empty());
}

INSTANTIATE_TEST_SUITE_P(GraphData, PlotRefusal, testing::ValuesIn(refusal_cases),
                         [](const testing::TestParamInfo<RefusalCase>& param_info) {
                             std::string name = param_info.param.name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST_F(PlotPage, RefusedPrintStartsNoPrintJob) {
    set("m=0");
    bool printer_opened = false;
    plotter.open_printer = [&printer_opened](const std::string&) {
        printer_opened = true;
        return std::unique_ptr<platform::PrinterDevice>();
    };
    EXPECT_NE(plot(printer_output), std::nullopt);
    EXPECT_TRUE(boxes.shown().empty()) << "neither a printing question nor the refusal";
    EXPECT_FALSE(printer_opened);
    EXPECT_TRUE(window.log->calls.empty());
}

TEST_F(PlotPage, TheDriverLeavesShowingARefusalToItsCaller) {
    set("n=0");
    EXPECT_NE(plot(), std::nullopt);
    EXPECT_TRUE(boxes.shown().empty());
}

// The largest meshes still allowed sit just under the limits.
TEST(PlotLimits, AllowsMeshesUpToTheLimits) {
    const Box box = {-1, 1, -1, 1, 0, 1};
    EXPECT_EQ(surface_refusal({box, Mesh{.n = 12240, .m = 12240, .k = 1}, 15}), std::nullopt);
    EXPECT_NE(surface_refusal({box, Mesh{.n = 12250, .m = 12250, .k = 1}, 15}), std::nullopt);
    EXPECT_EQ(surface_refusal({box, Mesh{.n = 1, .m = 1, .k = 1'999'999}, 15}), std::nullopt);
    EXPECT_NE(surface_refusal({box, Mesh{.n = 1, .m = 1, .k = 2'000'000}, 15}), std::nullopt);
    EXPECT_EQ(evaluation_count(Mesh{.n = 20, .m = 40, .k = 20}), 33262);
}

}  // namespace
}  // namespace toven
