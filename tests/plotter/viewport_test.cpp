// Viewports placed by percentages, world windows and the mapping between world and device
// coordinates, read from the Plotter's fields and the calls it makes.
#include <cmath>
#include <limits>

#include "plotter/device_coordinate.h"
#include "tests/plotter/plotter_fixture.h"

namespace toven::test_support {
namespace {

struct ViewportCase {
    const char* name;
    int device_width, device_height;
    int left, right, bottom, top;
    int vp_left, vp_right, vp_top, vp_bottom;
};

void PrintTo(const ViewportCase& row, std::ostream* out) {
    *out << row.name;
}

// The integer product comes first, then the factor 0.01, then truncation: 29 x 100 x 0.01
// is 29, while 29 x 0.01 x 100 would give 28.
const ViewportCase viewport_cases[] = {
    {"whole_640x480", 640, 480, 0, 100, 0, 100, 0, 640, 0, 480},
    {"odd_801x601", 801, 601, 5, 75, 5, 75, 40, 600, 150, 570},
    {"off_centre_801x601", 801, 601, 33, 67, 12, 88, 264, 536, 72, 528},
    {"product_before_factor", 100, 100, 29, 58, 29, 71, 29, 58, 29, 71},
    {"one_pixel", 1, 1, 0, 100, 0, 100, 0, 1, 0, 1},
    {"empty_client_area", 0, 0, 5, 75, 5, 75, 0, 0, 0, 0},
};

class ViewportTest : public ::testing::TestWithParam<ViewportCase> {};

TEST_P(ViewportTest, PlacesEdgesByTruncatedPercentages) {
    const ViewportCase& c = GetParam();
    platform::MessageBoxSeam boxes;
    RecordingWindow window(c.device_width, c.device_height);
    Plotter plotter(&window);
    plotter.begin_output(screen_output);
    window.log->clear();

    plotter.set_viewport(c.left, c.right, c.bottom, c.top, clip_on);

    EXPECT_EQ(plotter.vp_left, c.vp_left);
    EXPECT_EQ(plotter.vp_right, c.vp_right);
    EXPECT_EQ(plotter.vp_top, c.vp_top);
    EXPECT_EQ(plotter.vp_bottom, c.vp_bottom);
    EXPECT_EQ(plotter.vp_width, c.vp_right - c.vp_left);
    EXPECT_EQ(plotter.vp_height, c.vp_bottom - c.vp_top);
    const platform::Rect expected{c.vp_left, c.vp_top, c.vp_right, c.vp_bottom};
    EXPECT_EQ(plotter.viewport_rect, expected);
    const auto clips = window.log->of(Call::select_clip_region);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].args, (std::vector<int>{c.vp_left, c.vp_top, c.vp_right, c.vp_bottom}));
    EXPECT_EQ(plotter.text_x, c.vp_left + plotter.char_width);
    EXPECT_EQ(plotter.text_y, c.vp_top + plotter.line_height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ViewportTest, ::testing::ValuesIn(viewport_cases),
                         [](const auto& row) { return std::string(row.param.name); });

class WorldMappingTest : public RecordingPlotterTest {
  protected:
    void SetUp() override {
        open_screen();
        plotter.set_viewport(5, 75, 5, 75, clip_on);
    }
};

TEST_F(WorldMappingTest, WholeViewportHasTheDeviceAspect) {
    plotter.set_viewport(0, 100, 0, 100, clip_on);
    EXPECT_DOUBLE_EQ(plotter.viewport_aspect, 0.75);
}

TEST_F(WorldMappingTest, ViewportWithoutClipLiftsClipping) {
    screen_log().clear();
    plotter.set_viewport(10, 20, 10, 20, clip_off);
    EXPECT_EQ(plotter.clipping, clip_off);
    ASSERT_EQ(screen_log().count(Call::select_clip_region), 1);
    EXPECT_TRUE(screen_log().of(Call::select_clip_region)[0].null);
}

TEST_F(WorldMappingTest, WindowCornersMapOntoViewportEdges) {
    plotter.set_world_window(-2.5, 3.0, -1.0, 4.0);
    EXPECT_EQ(plotter.to_device_x(-2.5), plotter.vp_left);
    EXPECT_EQ(plotter.to_device_y(-1.0), plotter.vp_bottom);
    EXPECT_EQ(plotter.to_device_y(4.0), plotter.vp_top);
    EXPECT_EQ(plotter.to_device_x(3.0), plotter.vp_right);
}

TEST_F(WorldMappingTest, DeviceToWorldAndBackIsTheSamePixel) {
    plotter.set_world_window(-2.5, 3.0, -1.0, 4.0);
    for (int px = plotter.vp_left - 20; px <= plotter.vp_right + 20; ++px) {
        EXPECT_EQ(plotter.to_device_x(plotter.to_world_x(px, clamp_off)), px) << "px " << px;
    }
    for (int py = plotter.vp_top - 20; py <= plotter.vp_bottom + 20; ++py) {
        EXPECT_EQ(plotter.to_device_y(plotter.to_world_y(py, clamp_off)), py) << "py " << py;
    }
}

TEST_F(WorldMappingTest, ClampingHoldsPointsToTheWindow) {
    plotter.set_world_window(-2.5, 3.0, -1.0, 4.0);
    EXPECT_EQ(plotter.to_world_x(plotter.vp_left - 5, clamp_on), -2.5);
    EXPECT_LT(plotter.to_world_x(plotter.vp_left - 5, clamp_off), -2.5);
    EXPECT_EQ(plotter.to_world_x(plotter.vp_right + 5, clamp_on), 3.0);
    EXPECT_GT(plotter.to_world_x(plotter.vp_right + 5, clamp_off), 3.0);
    EXPECT_EQ(plotter.to_world_y(plotter.vp_top - 5, clamp_on), 4.0);
    EXPECT_EQ(plotter.to_world_y(plotter.vp_bottom + 5, clamp_on), -1.0);
    EXPECT_LT(plotter.to_world_y(plotter.vp_bottom + 5, clamp_off), -1.0);
}

TEST_F(WorldMappingTest, DeviceValuesTruncateTowardZero) {
    // One device unit per world unit from device 0: the device value is x + 0.5, truncated.
    plotter.set_viewport(0, 100, 0, 100, clip_on);
    plotter.set_world_window(0, 640, 0, 480);
    const struct {
        double x;
        int expected;
    } cases[] = {{-0.7, 0}, {-1.7, -1}, {0.7, 1}, {-0.3, 0}, {2.49, 2}, {-2.6, -2}};
    for (const auto& c : cases) {
        EXPECT_EQ(plotter.to_device_x(c.x), c.expected) << "x " << c.x;
    }
}

TEST_F(WorldMappingTest, ScalesFollowTheViewportAndWindow) {
    plotter.set_world_window(0, 10, 0, 5);
    EXPECT_DOUBLE_EQ(plotter.x_scale, plotter.vp_width / 10.0);
    EXPECT_DOUBLE_EQ(plotter.y_scale, plotter.vp_height / 5.0);
    EXPECT_NEAR(plotter.scale_ratio, plotter.y_scale / plotter.x_scale, 0.02);
}

// Degenerate windows and values: every device coordinate is still an integer within the
// device limit, and drawing goes on.
TEST_F(WorldMappingTest, DegenerateValuesGiveBoundedIntegers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        double left, right, bottom, top, x, y;
    } cases[] = {
        {"zero_width_window", 1, 1, 0, 1, 1, 0.5},   {"zero_height_window", 0, 1, 2, 2, 0.5, 3},
        {"nan_value", 0, 1, 0, 1, nan, nan},         {"infinite_value", 0, 1, 0, 1, inf, -inf},
        {"huge_value", 0, 1, 0, 1, 1e300, -1e300},   {"nan_window", nan, 1, 0, nan, 0.5, 0.5},
        {"tiny_window", 0, 1e-320, 0, 1e-320, 1, 1},
    };
    const int limit = static_cast<int>(device_coordinate_limit);
    for (const auto& c : cases) {
        plotter.set_world_window(c.left, c.right, c.bottom, c.top);
        const int px = plotter.to_device_x(c.x);
        const int py = plotter.to_device_y(c.y);
        EXPECT_LE(std::abs(px), limit) << c.name;
        EXPECT_LE(std::abs(py), limit) << c.name;
        plotter.move_to(c.x, c.y);
        plotter.line_to(c.y, c.x);
        plotter.draw_grid(10, 10, 400);
    }
}

TEST(DeviceCoordinateTest, TruncatesAndBounds) {
    EXPECT_EQ(truncate_to_device(-1.2), -1);
    EXPECT_EQ(truncate_to_device(1.9), 1);
    EXPECT_EQ(truncate_to_device(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(truncate_to_device(1e20), static_cast<int>(device_coordinate_limit));
    EXPECT_EQ(truncate_to_device(-std::numeric_limits<double>::infinity()),
              -static_cast<int>(device_coordinate_limit));
}

TEST(EmptyClientAreaTest, WholePageDrawsWithoutStopping) {
    platform::MessageBoxSeam boxes;
    RecordingWindow window(0, 0);
    Plotter plotter(&window);
    plotter.begin_output(screen_output);
    PanelLayout layout{5, 75, 5, 75, 5, 2, 9, 1, 1, 1};
    plotter.open_panel(layout, panel_framed);
    plotter.set_world_window(-1, 1, -1, 1);
    plotter.draw_rect(-1, 1, -1, 1);
    plotter.draw_grid(10, 10, 400);
    plotter.print_line("x = %.5f", 1.0);
    plotter.end_output();
    EXPECT_EQ(window.devices_held(), 0);
}

}  // namespace
}  // namespace toven::test_support
