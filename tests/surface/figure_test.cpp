// The figure for papers: its surface is the page's, its numbers are nice, increasing, inside
// the box's range and clear of each other and of the surface, and its TeX picture compiles.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture_files.h"
#include "platform/tex_picture.h"
#include "surface/figure.h"
#include "surface/figure_ticks.h"
#include "surface/plot_driver.h"
#include "tests/support/recording_device.h"
#include "tests/support/test_files.h"
#include "tests/support/test_tables.h"
#include "tests/support/tool_output.h"

namespace toven {
namespace {

using test_support::command_output;
using test_support::has_pdflatex;
using test_support::TempFolder;
using test_support::typeset_figure;

struct TickCase {
    double from, to;
    int most;
    std::vector<double> values;
    std::string last_text;
};

TEST(NiceTicks, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
    const TickCase cases[] = {
        {-1, 1, 7, {-1, -0.5, 0, 0.5, 1}, "1.0"},
        {0, 1000, 5, {0, 500, 1000}, "1000"},
        {1000, 0, 5, {0, 500, 1000}, "1000"},  // a reversed box counts up all the same
        {0.0013, 0.0091, 4, {0.002, 0.004, 0.006, 0.008}, "0.008"},
        {-0.3, 0.3, 3, {-0.2, 0, 0.2}, "0.2"},  // 0 is "0.0", not "-0.0"
        {1, 1, 5, {}, ""},
        {0, INFINITY, 5, {}, ""},
        {1e308, -1e308, 5, {}, ""}  // the range overflows,
    };
    for (const TickCase& c : cases) {
        const AxisTicks ticks = nice_ticks(c.from, c.to, c.most);
        ASSERT_EQ(ticks.values.size(), c.values.size()) << c.from << ".." << c.to;
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_NEAR(ticks.values[i], c.values[i], 1e-12) << c.from << ".." << c.to;
            EXPECT_NE(tick_text(ticks, ticks.values[i]), "-0.0");
        }
        if (!c.values.empty()) {
            EXPECT_EQ(tick_text(ticks, ticks.values.back()), c.last_text);
        }
    }
}

// Beyond fifteen digits a fixed-point text shows digits of the binary value that no tick has.
TEST(NiceTicks, NumbersTooLargeOrSmallForTheirDigitsHaveAnExponent) {
    const struct {
        double from, to;
        int most;
        std::vector<std::string> texts;
    } cases[] = {
        {0, 2e23, 3, {"0", "1e+23", "2e+23"}},
        {-1e15, 1.5e15, 6, {"-1.0e+15", "-5e+14", "0", "5e+14", "1.0e+15", "1.5e+15"}},
        {-2e-20, 2e-20, 5, {"-2e-20", "-1e-20", "0", "1e-20", "2e-20"}},
        {0, 4e14, 3, {"0", "200000000000000", "400000000000000"}},
    };
    for (const auto& c : cases) {
        const AxisTicks ticks = nice_ticks(c.from, c.to, c.most);
        std::vector<std::string> texts;
        for (const double value : ticks.values) {
            texts.push_back(tick_text(ticks, value));
        }
        EXPECT_EQ(texts, c.texts) << c.from << ".." << c.to;
    }
}

class Figure : public testing::Test {
  protected:
    void set(const std::vector<std::string>& assignments) {
        for (const std::string& a : assignments) {
            const std::size_t equals = a.find('=');
            ASSERT_TRUE(test_support::set_item(fdata, a.substr(0, equals), a.substr(equals + 1)) ||
                        test_support::set_item(sdata, a.substr(0, equals), a.substr(equals + 1)))
                << a;
        }
        graph_parameters = load_graph_parameters(sdata);
        function.compile();
        function.load_parameters();
    }

    // The figure on a window of its own; the window stays for its picture.
    DrawnFigure draw(platform::Window& window, std::optional<PanelMapping>* mapping = nullptr) {
        SurfacePlotter plotter(&window);
        DrawnFigure figure = draw_figure(plotter, function, graph_parameters);
        if (mapping != nullptr && plotter.drawn_surface) {
            *mapping = plotter.drawn_surface->panel;
        }
        plotter.end_output();
        return figure;
    }

    GraphParameters graph_parameters;
    bool readout_ready = false;
    DataTable fdata = test_support::default_fdata();
    DataTable sdata = test_support::default_sdata();
    SurfaceFunction function{fdata};
};

bool is_surface(platform::ColourRef c) {
    return c == pen_colours[pen_magenta] || c == pen_colours[pen_dark_magenta];
}

// The share of surface pixels of `from` that `to` lacks within two pixels of the same world
// point.
double unmatched(const platform::Image& from, const PanelMapping& from_map,
                 const platform::Image& to, const PanelMapping& to_map) {
    int pixels = 0;
    int missing = 0;
    for (int y = from_map.viewport.top; y < from_map.viewport.bottom; ++y) {
        for (int x = from_map.viewport.left; x < from_map.viewport.right; ++x) {
            if (!is_surface(from.at(x, y))) {
                continue;
            }
            ++pixels;
            const int tx = to_map.to_device_x(from_map.to_world_x(x));
            const int ty = to_map.to_device_y(from_map.to_world_y(y));
            bool found = false;
            for (int dy = -2; dy <= 2 && !found; ++dy) {
                for (int dx = -2; dx <= 2 && !found; ++dx) {
                    found =
                        to_map.contains({tx + dx, ty + dy}) && is_surface(to.at(tx + dx, ty + dy));
                }
            }
            missing += found ? 0 : 1;
        }
    }
    return pixels > 0 ? static_cast<double>(missing) / pixels : 1.0;
}

TEST_F(Figure, SurfaceLinesAreThePagesLinesScaled) {
    set({"fc=0", "ax=0"});
    auto page = platform::create_offscreen_window(800, 600);
    SurfacePlotter page_plotter(page.get());
    PlotContext context{page_plotter, function, fdata, sdata, graph_parameters, readout_ready};
    ASSERT_EQ(draw_plot(context, plot_page, screen_output), std::nullopt);
    const PanelMapping page_map = page_plotter.drawn_surface->panel;
    page_plotter.end_output();

    auto figure_window = platform::create_offscreen_window(700, 700);
    std::optional<PanelMapping> figure_map;
    ASSERT_EQ(draw(*figure_window, &figure_map).refusal, std::nullopt);
    ASSERT_TRUE(figure_map);
    const platform::Image page_image = platform::snapshot(*page);
    const platform::Image figure_image = platform::snapshot(*figure_window);
    EXPECT_LT(unmatched(figure_image, *figure_map, page_image, page_map), 0.01);
    EXPECT_LT(unmatched(page_image, page_map, figure_image, *figure_map), 0.01);
}

// Whether the part of `line` within `clip` passes through `box` (Liang and Barsky's clipping).
bool crosses(const test_support::Segment& line, const platform::Rect& clip,
             const platform::Rect& box) {
    const double dx = line.to.x - line.from.x;
    const double dy = line.to.y - line.from.y;
    double enter = 0;
    double leave = 1;
    for (const platform::Rect& r : {clip, box}) {
        const double p[] = {-dx, dx, -dy, dy};
        const double q[] = {line.from.x - r.left + 0.0, r.right - 1.0 - line.from.x,
                            line.from.y - r.top + 0.0, r.bottom - 1.0 - line.from.y};
        for (int k = 0; k < 4; ++k) {
            if (p[k] == 0) {
                if (q[k] < 0) {
                    return false;
                }
            } else if (p[k] < 0) {
                enter = std::max(enter, q[k] / p[k]);
            } else {
                leave = std::min(leave, q[k] / p[k]);
            }
        }
    }
    return enter <= leave;
}

struct LayoutCase {
    const char* name;
    std::vector<std::string> data;
    // A reversed box turns the view so that the box leaves the drawing area, as on the page:
    // the numbers that would leave it too are left out.
    bool every_axis_numbered = true;
};

TEST_F(Figure, NumbersIncreaseWithinTheBoxClearOfEachOtherAndTheSurface) {
    const LayoutCase cases[] = {
        {"default", {}},
        {"titled, framed, with axes", {"title=Saddle", "fc=1", "ax=1"}},
        {"x reversed", {"x1=1", "x2=-1"}, false},
        {"seen from below", {"tilt=-20"}},
        {"edge on", {"tilt=0"}},
        // The surface leaves its box below, where the numbers of the base would go.
        {"surface below the box", {"f(x,y)=-0.2", "z1=0", "z2=1"}, false},
        {"wide numbers", {"z1=-12345.5", "z2=98765.25", "f(x,y)=50000*x*y"}},
        {"narrow box", {"x1=0", "x2=0.001", "n=40", "m=20"}},
    };
    for (const LayoutCase& c : cases) {
        fdata = test_support::default_fdata();
        sdata = test_support::default_sdata();
        set(c.data);
        auto offscreen = platform::create_offscreen_window(640, 480);
        test_support::RecordingWindow window{640, 480, offscreen.get()};
        std::optional<PanelMapping> mapping;
        const DrawnFigure figure = draw(window, &mapping);
        ASSERT_EQ(figure.refusal, std::nullopt) << c.name;
        ASSERT_TRUE(mapping);
        const GraphParameters& g = graph_parameters;
        const std::pair<double, double> ranges[] = {{g.x1, g.x2}, {g.y1, g.y2}, {g.z1, g.z2}};
        const FigureText kinds[] = {FigureText::x_tick, FigureText::y_tick, FigureText::z_tick};
        for (int axis = 0; axis < 3; ++axis) {
            std::vector<double> values;
            for (const FigureLabel& label : figure.labels) {
                if (label.kind == kinds[axis]) {
                    values.push_back(label.value);
                    EXPECT_NEAR(std::stod(label.text), label.value,
                                1e-9 * std::abs(label.value) + 1e-12);
                }
            }
            if (c.every_axis_numbered) {
                EXPECT_GE(values.size(), 2u) << c.name << " axis " << axis;
            }
            const auto [low, high] = std::minmax(ranges[axis].first, ranges[axis].second);
            for (std::size_t i = 0; i < values.size(); ++i) {
                EXPECT_GE(values[i], low - 1e-12) << c.name;
                EXPECT_LE(values[i], high + 1e-12) << c.name;
                if (i > 0) {
                    EXPECT_GT(values[i], values[i - 1]) << c.name;
                }
            }
        }
        if (c.every_axis_numbered) {
            EXPECT_EQ(
                std::count_if(figure.labels.begin(), figure.labels.end(),
                              [](const FigureLabel& l) { return l.kind == FigureText::axis_name; }),
                3)
                << c.name;
        }
        for (std::size_t i = 0; i < figure.labels.size(); ++i) {
            const platform::Rect& a = figure.labels[i].box;
            EXPECT_GE(a.left, 0) << c.name << " " << figure.labels[i].text;
            EXPECT_LE(a.right, 640) << c.name << " " << figure.labels[i].text;
            EXPECT_GE(a.top, 0) << c.name << " " << figure.labels[i].text;
            EXPECT_LE(a.bottom, 480) << c.name << " " << figure.labels[i].text;
            for (std::size_t j = 0; j < i; ++j) {
                const platform::Rect& b = figure.labels[j].box;
                EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom &&
                             b.top < a.bottom)
                    << c.name << ": " << figure.labels[i].text << " on " << figure.labels[j].text;
            }
            for (const test_support::Segment& line : window.log->segments) {
                EXPECT_FALSE(is_surface(line.colour) && crosses(line, mapping->viewport, a))
                    << c.name << ": " << figure.labels[i].text << " on the surface";
            }
        }
    }
}

// A window of 8 cm by 6 cm for a TeX picture.
std::unique_ptr<platform::Window> tex_window() {
    const double cm = 72 / 2.54;
    return platform::create_offscreen_window(
        static_cast<int>(std::lround(8 * cm * platform::tex_units_per_point)),
        static_cast<int>(std::lround(6 * cm * platform::tex_units_per_point)),
        platform::OffscreenRecording::vector_pages, platform::tex_pixel_ratio);
}

// A figure of 8 cm by 6 cm, typeset by pdflatex in a document that inputs it.
TEST_F(Figure, TexPictureCompilesWithItsNumbersInTheDocumentsFont) {
    if (!has_pdflatex()) {
        GTEST_SKIP() << "pdflatex (texlive-latex-base, texlive-pictures) is not installed";
    }
    set({"title=Saddle_1 & 2", "fc=1"});
    auto window = tex_window();
    const DrawnFigure figure = draw(*window);
    ASSERT_EQ(figure.refusal, std::nullopt);
    const TempFolder folder("toven-figure");
    ASSERT_EQ(platform::save_tex_picture(*window, folder.file("figure.tex")), std::nullopt);
    const std::string tex = test_support::read_file(folder.file("figure.tex"));
    EXPECT_NE(tex.find("rectangle (226.8,170.1)"), std::string::npos);
    ASSERT_EQ(typeset_figure(folder.path().string(), "figure.tex"), "0\n")
        << test_support::read_file(folder.file("paper.log"));
    const std::string text = command_output("pdftotext '" + folder.file("paper.pdf") + "' -");
    EXPECT_NE(text.find("Saddle"), std::string::npos) << text;
    EXPECT_NE(text.find("1 & 2"), std::string::npos) << text;
    for (const FigureLabel& label : figure.labels) {
        if (label.kind != FigureText::title && label.value >= 0) {
            EXPECT_NE(text.find(label.text), std::string::npos) << label.text << " in " << text;
        }
    }
}

// TeX sets a number with an exponent as a power of ten, not as a product with a letter e.
TEST_F(Figure, TexPictureWritesExponentsAsPowersOfTen) {
    set({"f(x,y)=1e23*x*y", "z1=-2e23", "z2=2e23"});
    auto window = tex_window();
    ASSERT_EQ(draw(*window).refusal, std::nullopt);
    const TempFolder folder("toven-exponent-figure");
    ASSERT_EQ(platform::save_tex_picture(*window, folder.file("figure.tex")), std::nullopt);
    const std::string tex = test_support::read_file(folder.file("figure.tex"));
    EXPECT_NE(tex.find("{$1\\times10^{23}$}"), std::string::npos) << tex.substr(tex.size() - 2000);
    EXPECT_EQ(tex.find("e+23"), std::string::npos);
}

// The densest figure a paper wants, 161 by 81 curves of 20 steps each, stays a small file
// that TeX typesets within its default memory: its curves are a few points where they bend.
TEST_F(Figure, DenseTexPictureStaysSmallAndCompiles) {
    set({"m=160", "n=80", "k=20"});
    auto window = tex_window();
    ASSERT_EQ(draw(*window).refusal, std::nullopt);
    const TempFolder folder("toven-dense-figure");
    ASSERT_EQ(platform::save_tex_picture(*window, folder.file("figure.tex")), std::nullopt);
    EXPECT_LE(std::filesystem::file_size(folder.file("figure.tex")), 1'000'000u);
    if (!has_pdflatex()) {
        GTEST_SKIP() << "pdflatex (texlive-latex-base, texlive-pictures) is not installed";
    }
    ASSERT_EQ(typeset_figure(folder.path().string(), "figure.tex"), "0\n")
        << test_support::read_file(folder.file("paper.log"));
}

}  // namespace
}  // namespace toven
