// The hidden-line drawing on a recording device: which segments are drawn, in which order and
// in which pen, and how often f is evaluated.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "plotter/colour_tables.h"
#include "surface/grid_function.h"
#include "surface/uneven_nodes.h"
#include "tests/surface/surface_test_support.h"

namespace toven {
namespace {

using surface_test::CountingFunction;
using surface_test::RecordedSurface;
using test_support::Segment;

struct Point3 {
    double x, y, z;
};

struct ExpectedSegment {
    Point3 from;
    Point3 to;
    int pen;
};

std::string describe(const std::vector<Segment>& segments) {
    std::string text;
    for (const Segment& s : segments) {
        char line[80];
        std::snprintf(line, sizeof line, "(%d,%d)-(%d,%d) #%06x\n", s.from.x, s.from.y, s.to.x,
                      s.to.y, static_cast<unsigned>(s.colour));
        text += line;
    }
    return text;
}

void expect_segments(const RecordedSurface& surface, const std::vector<ExpectedSegment>& expected) {
    std::vector<Segment> wanted;
    for (const ExpectedSegment& e : expected) {
        wanted.push_back({surface.device_point(e.from.x, e.from.y, e.from.z),
                          surface.device_point(e.to.x, e.to.y, e.to.z), pen_colours[e.pen], 1});
    }
    std::vector<Segment> drawn = surface.window.log->segments;
    for (Segment& s : drawn) {
        s.width = 1;
    }
    EXPECT_EQ(drawn, wanted) << "drawn:\n" << describe(drawn) << "wanted:\n" << describe(wanted);
}

double flat(double, double) {
    return 0;
}

// One mesh cell: the two front edges, then the back edge of the row and of the column, seen
// from above in the surface pen and from below in the pen eight places lower.
TEST(HiddenLine, OneCellIsDrawnWholeInThePenOfItsSide) {
    struct Case {
        const char* name;
        double tilt;
        int back_pen;
    } cases[] = {{"from above", 30, pen_magenta}, {"from below", -30, pen_dark_magenta}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedSurface surface;
        CountingFunction f(flat);
        ASSERT_EQ(
            surface.plotter.draw_surface(f, {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{1, 1, 1}, c.tilt}),
            std::nullopt);
        expect_segments(surface, {{{-1, 1, 0}, {-1, -1, 0}, pen_magenta},
                                  {{-1, -1, 0}, {1, -1, 0}, pen_magenta},
                                  {{-1, 1, 0}, {1, 1, 0}, c.back_pen},
                                  {{1, -1, 0}, {1, 1, 0}, c.back_pen}});
        EXPECT_EQ(surface.plotter.pen_number, pen_magenta);
    }
}

// One family alone: the front edge and the back curve of that family, nothing of the other;
// a choice that is none of them draws nothing and says what to give.
TEST(HiddenLine, OneFamilyOfCurvesAlone) {
    const struct {
        const char* name;
        CurveChoice curves;
        std::vector<ExpectedSegment> segments;
    } cases[] = {
        {"along x",
         CurveChoice::along_x,
         {{{-1, -1, 0}, {1, -1, 0}, pen_magenta}, {{-1, 1, 0}, {1, 1, 0}, pen_magenta}}},
        {"along y",
         CurveChoice::along_y,
         {{{-1, 1, 0}, {-1, -1, 0}, pen_magenta}, {{1, -1, 0}, {1, 1, 0}, pen_magenta}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedSurface surface;
        CountingFunction f(flat);
        ASSERT_EQ(surface.plotter.draw_surface(
                      f, {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{1, 1, 1}, 30, c.curves}),
                  std::nullopt);
        expect_segments(surface, c.segments);
    }
    RecordedSurface surface;
    CountingFunction f(flat);
    const auto refusal = surface.plotter.draw_surface(
        f, {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{1, 1, 1}, 30, CurveChoice::unknown});
    ASSERT_NE(refusal, std::nullopt);
    EXPECT_NE(refusal->message.find("curves"), std::string::npos);
    EXPECT_TRUE(surface.window.log->segments.empty());
}

// A 2 by 2 mesh with a peak at its centre: the peak hides the two segments behind it that
// end in the back corner (1, 1).
TEST(HiddenLine, APeakHidesTheSegmentsBehindIt) {
    RecordedSurface surface;
    CountingFunction f([](double x, double y) { return x == 0 && y == 0 ? 5.0 : 0.0; });
    ASSERT_EQ(surface.plotter.draw_surface(f, {{-1, 1, -1, 1, 0, 5}, Mesh{2, 2, 1}, 30}),
              std::nullopt);
    expect_segments(surface, {
                                 {{-1, 1, 0}, {-1, 0, 0}, pen_magenta},  // front edge x = x1
                                 {{-1, 0, 0}, {-1, -1, 0}, pen_magenta},
                                 {{-1, -1, 0}, {0, -1, 0}, pen_magenta},  // front edge y = y1
                                 {{0, -1, 0}, {1, -1, 0}, pen_magenta},
                                 {{-1, 0, 0}, {0, 0, 5}, pen_magenta},  // row y = 0
                                 {{0, 0, 5}, {1, 0, 0}, pen_magenta},
                                 {{-1, 1, 0}, {0, 1, 0}, pen_magenta},  // row y = 1
                                 {{0, -1, 0}, {0, 0, 5}, pen_magenta},  // column x = 0
                                 {{0, 0, 5}, {0, 1, 0}, pen_magenta},
                                 {{1, -1, 0}, {1, 0, 0}, pen_magenta},  // column x = 1
                             });
}

struct FlatCase {
    const char* name;
    double tilt;
    int surface_pen_segments;
    int underside_segments;
};

// Flat surfaces on a mesh (n 4, m 8, k 2) coarse enough that no segment is shorter than a
// pixel: 24 segments on the front edges, 2nmk = 128 inside.
TEST(HiddenLine, FlatSurfaceCounts) {
    const FlatCase cases[] = {
        {"positive tilt: all from above", 15, 152, 0},
        {"negative tilt: the interior from below", -15, 24, 128},
        {"tilt 0: only the front edges", 0, 24, 0},
    };
    for (const FlatCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedSurface surface;
        CountingFunction f(flat);
        ASSERT_EQ(
            surface.plotter.draw_surface(f, {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{4, 8, 2}, c.tilt}),
            std::nullopt);
        int top = 0;
        int under = 0;
        for (const Segment& s : surface.window.log->segments) {
            top += s.colour == pen_colours[pen_magenta];
            under += s.colour == pen_colours[pen_dark_magenta];
        }
        EXPECT_EQ(top, c.surface_pen_segments);
        EXPECT_EQ(under, c.underside_segments);
        EXPECT_EQ(surface.window.log->count(test_support::Call::line_to),
                  c.surface_pen_segments + c.underside_segments);
    }
}

// On a dense mesh many samples share a device point: no line of no length and no second
// move reaches the device, and runs of segments on one side keep their pen.
TEST(HiddenLine, DenseMeshSendsOnlyWhatChangesPixels) {
    RecordedSurface surface;
    CountingFunction f([](double x, double y) { return std::sin(x * x * x + y * y * y); });
    ASSERT_EQ(surface.plotter.draw_surface(f, {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{20, 40, 20}, 15}),
              std::nullopt);
    const auto& calls = surface.window.log->calls;
    for (std::size_t i = 1; i < calls.size(); ++i) {
        const bool consecutive_moves = calls[i].call == test_support::Call::move_to &&
                                       calls[i - 1].call == test_support::Call::move_to;
        ASSERT_FALSE(consecutive_moves) << i;
        const bool consecutive_pens = calls[i].call == test_support::Call::select_pen &&
                                      calls[i - 1].call == test_support::Call::select_pen;
        ASSERT_FALSE(consecutive_pens) << i;
    }
    for (const Segment& s : surface.window.log->segments) {
        ASSERT_NE(s.from, s.to);
    }
    EXPECT_GT(surface.window.log->count(test_support::Call::select_pen), 2);
}

// Pens 0..7 have no darker shade eight places below: their underside keeps the surface pen.
TEST(HiddenLine, PenWithoutADarkerShadeDrawsTheUndersideInItself) {
    RecordedSurface surface(pen_dark_red);
    CountingFunction f(flat);
    ASSERT_EQ(surface.plotter.draw_surface(f, {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{2, 4, 2}, -15}),
              std::nullopt);
    for (const Segment& s : surface.window.log->segments) {
        ASSERT_EQ(s.colour, pen_colours[pen_dark_red]);
    }
    EXPECT_EQ(surface.window.log->segments.size(), 4u + 8u + 2u * 4u * 2u * 2u);
}

// Each sample of the n + 1 rows and m + 1 columns once: the front edges serve both families.
TEST(HiddenLine, EvaluatesEverySampleOnce) {
    struct Case {
        Mesh mesh;
        long evaluations;
    } cases[] = {{{20, 40, 20}, 33262}, {{1, 1, 1}, 8}, {{2, 3, 4}, 2 * 3 * 2 * 4 + 5 * 4 + 5 + 2}};
    for (const Case& c : cases) {
        RecordedSurface surface;
        CountingFunction f(flat);
        surface.plotter.draw_surface(f, {{-1, 1, -1, 1, 0, 1}, c.mesh, 15});
        EXPECT_EQ(f.evaluations, c.evaluations) << c.mesh.n << " " << c.mesh.m << " " << c.mesh.k;
    }
}

// A value that is not a number is hidden: no segment starts or ends there, and the horizons
// keep what they had.
TEST(HiddenLine, NotANumberIsHidden) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    RecordedSurface surface;
    CountingFunction f([nan](double x, double y) { return x == 0 && y == 0 ? nan : 0.0; });
    ASSERT_EQ(surface.plotter.draw_surface(f, {{-1, 1, -1, 1, 0, 1}, Mesh{2, 2, 1}, 30}),
              std::nullopt);
    expect_segments(surface, {
                                 {{-1, 1, 0}, {-1, 0, 0}, pen_magenta},
                                 {{-1, 0, 0}, {-1, -1, 0}, pen_magenta},
                                 {{-1, -1, 0}, {0, -1, 0}, pen_magenta},
                                 {{0, -1, 0}, {1, -1, 0}, pen_magenta},
                                 {{-1, 1, 0}, {0, 1, 0}, pen_magenta},  // row y = 1
                                 {{0, 1, 0}, {1, 1, 0}, pen_magenta},
                                 {{1, -1, 0}, {1, 0, 0}, pen_magenta},  // column x = 1
                                 {{1, 0, 0}, {1, 1, 0}, pen_magenta},
                             });
}

// A hole on a front edge leaves its page column without a horizon rather than hiding
// everything behind it there: the flat mesh is drawn less only the segments that end in the
// hole.
TEST(HiddenLine, AHoleOnAFrontEdgeHidesNothingBehindIt) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const SurfaceRequest request{{-1, 1, -1, 1, 0, 1}, Mesh{2, 2, 1}, 30};
    RecordedSurface whole;
    CountingFunction flat_heights(flat);
    ASSERT_EQ(whole.plotter.draw_surface(flat_heights, request), std::nullopt);
    const struct { double x, y; } holes[] = {{0, -1}, {-1, 0}, {-1, -1}};
    for (const auto& hole : holes) {
        SCOPED_TRACE(std::to_string(hole.x) + " " + std::to_string(hole.y));
        RecordedSurface surface;
        CountingFunction f(
            [&](double x, double y) { return x == hole.x && y == hole.y ? nan : 0; });
        ASSERT_EQ(surface.plotter.draw_surface(f, request), std::nullopt);
        const platform::Point at = whole.device_point(hole.x, hole.y, 0);
        std::vector<Segment> wanted;
        for (const Segment& s : whole.window.log->segments) {
            if (s.from != at && s.to != at) {
                wanted.push_back(s);
            }
        }
        EXPECT_EQ(surface.window.log->segments, wanted)
            << "drawn:\n"
            << describe(surface.window.log->segments) << "wanted:\n"
            << describe(wanted);
    }
}

TEST(HiddenLine, SetsTheViewOfTheDefaultData) {
    RecordedSurface surface;
    CountingFunction f(flat);
    ASSERT_EQ(surface.plotter.draw_surface(f, {{-1, 1, -1, 1, -0.2, 1.2}, Mesh{20, 40, 20}, 15}),
              std::nullopt);
    EXPECT_NEAR(surface.plotter.rot, -26.565051177077990, 1e-12);
    EXPECT_EQ(surface.plotter.box, (Box{-1, 1, -1, 1, -0.2, 1.2}));
    // The projected box fills the panel: its outermost corners land on the panel's edges.
    EXPECT_EQ(surface.device_point(-1, 1, 0).x, surface.plotter.vp_left);
    EXPECT_EQ(surface.device_point(1, -1, 0).x, surface.plotter.vp_right);
    EXPECT_EQ(surface.plotter.to_device_y(surface.plotter.project_v(-1, -1, -0.2)),
              surface.plotter.vp_bottom);
    EXPECT_EQ(surface.plotter.to_device_y(surface.plotter.project_v(1, 1, 1.2)),
              surface.plotter.vp_top);
}

// A plotter keeps its drawing's memory from one page to the next, and every page draws the
// lines that a fresh plotter's first page draws, however the one before it differed: fewer or
// more columns and samples, another shape, a turn, one family alone, curves in several bands
// (the long columns here take one band each), holes on a front edge, uneven nodes.
TEST(HiddenLine, APlotterDrawsEveryPageAsItsFirst) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto hills = [](double x, double y) {
        return 0.5 * std::sin(3 * x) * std::cos(2 * y) + 0.6 * std::exp(-4 * (x * x + y * y));
    };
    Grid uneven{{-1, -0.9, -0.5, 0.2, 1}, {-1, 0, 0.3, 1}, {}};
    for (const double y : uneven.y) {
        for (const double x : uneven.x) {
            uneven.z.push_back(x * y == 0 ? nan : hills(x, y));
        }
    }
    enum class Heights { wavy, holed, grid };
    const Box box{-1, 1, -1, 1, -0.8, 1.2};
    const struct {
        const char* name;
        Mesh mesh;
        double tilt;
        double turn;
        CurveChoice curves;
        Heights heights;
    } pages[] = {
        {"the default mesh", {20, 40, 20}, 15, 0, CurveChoice::both, Heights::wavy},
        {"fewer samples", {20, 40, 3}, 15, 0, CurveChoice::both, Heights::wavy},
        {"more columns and samples", {30, 60, 25}, 15, 0, CurveChoice::both, Heights::wavy},
        {"more rows than columns", {60, 10, 8}, -20, 0, CurveChoice::both, Heights::wavy},
        {"turned", {20, 40, 6}, 30, 100, CurveChoice::both, Heights::wavy},
        {"long columns in two bands", {1, 2, 300'000}, 15, 0, CurveChoice::both, Heights::wavy},
        {"one cell", {1, 1, 1}, 15, 0, CurveChoice::both, Heights::wavy},
        {"holes on the front row", {20, 40, 4}, 25, 0, CurveChoice::both, Heights::holed},
        {"after the holes", {20, 40, 4}, 25, 0, CurveChoice::both, Heights::wavy},
        {"one family", {20, 40, 5}, 15, 200, CurveChoice::along_x, Heights::wavy},
        {"uneven nodes", {3, 4, 1}, 20, 30, CurveChoice::both, Heights::grid},
        {"the default mesh again", {20, 40, 20}, 15, 0, CurveChoice::both, Heights::wavy},
    };
    RecordedSurface kept;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.name);
        CountingFunction formula([&](double x, double y) {
            return page.heights == Heights::holed && y < -0.99 && x > 0.2 ? nan : hills(x, y);
        });
        GridFunction grid_heights(uneven);
        FunctionXY& f =
            page.heights == Heights::grid ? static_cast<FunctionXY&>(grid_heights) : formula;
        const SurfaceRequest request =
            with_grid_nodes({box, page.mesh, page.tilt, page.curves, page.turn}, uneven);
        RecordedSurface fresh;
        ASSERT_EQ(fresh.plotter.draw_surface(f, request), std::nullopt);
        kept.window.log->clear();
        ASSERT_EQ(kept.plotter.draw_surface(f, request), std::nullopt);
        ASSERT_FALSE(fresh.window.log->segments.empty());
        EXPECT_TRUE(kept.window.log->segments == fresh.window.log->segments)
            << kept.window.log->segments.size() << " segments drawn, "
            << fresh.window.log->segments.size() << " by a fresh plotter";
    }
}

}  // namespace
}  // namespace toven
