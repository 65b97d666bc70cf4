// Saving an offscreen picture as PNG, PDF and SVG, and windows of no size.
#include <gtest/gtest.h>

#include <ostream>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/drawing_objects.h"
#include "platform/picture_files.h"
#include "tests/platform/drawing_fixture.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_output.h"

namespace toven::platform::testing {
namespace {

namespace fs = std::filesystem;

using test_support::command_output;
using test_support::GreyImage;
using test_support::pdf_info;
using test_support::pdf_page_in_grey;
using test_support::read_file;
using test_support::TempFolder;

class PictureFiles : public DrawingTest {
  protected:
    PictureFiles() : DrawingTest(80, 60) {
        use_pen(1, red);
        use_brush(blue);
        device->rectangle(10, 10, 70, 50);
        font = create_font({-13, 0, 0, false, false, false, "Times New Roman"});
        device->select_font(font);
        device->text_out(15, 20, "Saved text");
        release();
    }
    ~PictureFiles() override { delete_object(font); }
    std::string path(const std::string& name) const { return folder.file(name); }

    TempFolder folder{"toven-pictures"};
    Font* font = nullptr;
};

TEST_F(PictureFiles, PngHoldsThePicturesSize) {
    ASSERT_EQ(save_picture(*window, path("plot.PNG"), PictureFormat::png), std::nullopt);
    const std::string png = read_file(path("plot.PNG"));
    EXPECT_EQ(test_support::png_size(png), std::make_pair(80, 60));
}

TEST_F(PictureFiles, PdfIsOnePageOfTheWindowsSizeWithItsText) {
    ASSERT_EQ(save_picture(*window, path("plot.pdf"), PictureFormat::pdf), std::nullopt);
    const std::string pdf = read_file(path("plot.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    if (command_output("pdfinfo -v 2>&1").empty()) {
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    }
    EXPECT_EQ(pdf_info(path("plot.pdf"), "Pages"), "1");
    EXPECT_EQ(pdf_info(path("plot.pdf"), "Page size"), "60 x 45 pts");
    EXPECT_NE(command_output("pdftotext '" + path("plot.pdf") + "' -").find("Saved text"),
              std::string::npos);
}

TEST_F(PictureFiles, SvgIsAVectorPictureWithItsText) {
    ASSERT_EQ(save_picture(*window, path("plot.svg"), PictureFormat::svg), std::nullopt);
    const std::string svg = read_file(path("plot.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 80 60\""), std::string::npos);
    EXPECT_NE(svg.find("Saved text"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos);
}

// XML cannot carry U+FFFE and U+FFFF, so data that holds one is refused for an SVG and a PDF
// (whose data is XML) before anything is written; a PNG keeps it.
TEST_F(PictureFiles, DataThatXmlCannotCarryIsRefusedForSvgAndPdf) {
    const std::string data =
        "a=1\ntitle=ab\xEF\xBF\xBF"
        "cd\n";
    const std::pair<const char*, PictureFormat> xml_pictures[] = {{"plot.svg", PictureFormat::svg},
                                                                  {"plot.pdf", PictureFormat::pdf}};
    for (const auto& [name, format] : xml_pictures) {
        EXPECT_EQ(save_picture(*window, path(name), format, data),
                  Refusal{"Cannot save \"" + path(name) +
                          "\": the value of title holds the non-character U+FFFF, which XML "
                          "cannot carry."});
        EXPECT_FALSE(fs::exists(path(name)));
    }
    EXPECT_EQ(save_picture(*window, path("plot.png"), PictureFormat::png, data), std::nullopt);
}

TEST_F(PictureFiles, UnwritablePathIsReported) {
    const auto error = save_picture(*window, path("missing/plot.png"), PictureFormat::png);
    // However long the path, the message names the file whole.
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message,
              "Cannot write \"" + path("missing/plot.png") + "\": No such file or directory.");
}

TEST_F(PictureFiles, FailedSaveLeavesAnOldFileAlone) {
    ASSERT_EQ(save_picture(*window, path("plot.png"), PictureFormat::png), std::nullopt);
    const std::string before = read_file(path("plot.png"));
    auto empty = create_offscreen_window(0, 0);
    EXPECT_TRUE(save_picture(*empty, path("plot.png"), PictureFormat::png));
    EXPECT_EQ(read_file(path("plot.png")), before);
}

struct EmptySize {
    const char* name;
    int width;
    int height;
};

void PrintTo(const EmptySize& size, std::ostream* out) {
    *out << size.name;
}

class EmptyWindow : public ::testing::TestWithParam<EmptySize> {};

TEST_P(EmptyWindow, DrawsNowhereWithoutCrashing) {
    auto window = create_offscreen_window(GetParam().width, GetParam().height);
    const Rect client = window->client_rect();
    EXPECT_TRUE(client.width() <= 0 || client.height() <= 0);
    EXPECT_GE(client.width(), 0);
    EXPECT_GE(client.height(), 0);
    Device* device = window->get_device();
    Pen* pen = create_pen(3, red);
    Region* region = create_rect_region({0, 0, 10, 10});
    Brush* brush = create_solid_brush(blue);
    device->select_pen(pen);
    device->select_font(stock_fixed_font());
    device->select_clip_region(region);
    device->fill_region(*region, *brush);
    device->move_to(0, 0);
    device->line_to(10, 10);
    device->rectangle(0, 0, 10, 10);
    device->text_out(0, 0, "nowhere");
    EXPECT_GT(device->text_metrics().height, 0);
    EXPECT_GT(device->text_extent("nowhere").cx, 0);
    EXPECT_GT(device->capability(DeviceCapability::logical_pixels_x), 0);
    EXPECT_EQ(device->capability(DeviceCapability::width_pixels), client.width());
    window->release_device(device);
    const Image image = snapshot(*window);
    EXPECT_TRUE(image.pixels.empty());
    const TempFolder folder("toven-empty-window");
    EXPECT_TRUE(save_picture(*window, folder.file("plot.png"), PictureFormat::png));
    delete_object(pen);
    delete_object(region);
    delete_object(brush);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EmptyWindow,
                         ::testing::Values(EmptySize{"zero", 0, 0}, EmptySize{"no_width", 0, 50},
                                           EmptySize{"no_height", 50, 0},
                                           EmptySize{"negative", -5, -7}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(OffscreenWindow, StartsWhite) {
    auto window = create_offscreen_window(7, 5);
    EXPECT_EQ(window->client_rect(), (Rect{0, 0, 7, 5}));
    const Image image = snapshot(*window);
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.height, 5);
    EXPECT_EQ(count_colour(image, white), 35);
}

TEST(OffscreenWindow, PdfRedrawsEveryDeviceWithItsOwnState) {
    auto window = create_offscreen_window(40, 40);
    Device* first = window->get_device();
    Device* second = window->get_device();
    Pen* pen = create_pen(1, red);
    first->select_pen(pen);
    first->move_to(0, 5);
    first->line_to(40, 5);
    second->move_to(0, 10);
    second->line_to(40, 10);  // in the default black pen
    window->release_device(first);
    window->release_device(second);
    const Image image = snapshot(*window);
    EXPECT_EQ(image.at(3, 5), red);
    EXPECT_EQ(image.at(3, 10), black);
    const TempFolder folder("toven-two-devices");
    const std::string file = folder.file("plot.svg");
    ASSERT_EQ(save_picture(*window, file, PictureFormat::svg), std::nullopt);
    const std::string svg = read_file(file);
    EXPECT_NE(svg.find("#ff0000"), std::string::npos);
    EXPECT_NE(svg.find("#000000"), std::string::npos);
    delete_object(pen);
}

// A window drawn on for a long time stops recording; its vector files then hold its image.
TEST(OffscreenWindow, LongDrawingStillSavesItsPicture) {
    auto window = create_offscreen_window(20, 20);
    Device* device = window->get_device();
    Pen* pen = create_pen(1, red);
    device->select_pen(pen);
    for (int line = 0; line < 1000000; ++line) {
        device->move_to(0, line % 20);
        device->line_to(20, line % 20);
    }
    window->release_device(device);
    delete_object(pen);
    EXPECT_FALSE(saves_vector_pages(*window));
    const TempFolder folder("toven-long-drawing");
    const std::string file = folder.file("plot.svg");
    ASSERT_EQ(save_picture(*window, file, PictureFormat::svg), std::nullopt);
    EXPECT_NE(read_file(file).find("<image"), std::string::npos);
}

// The points of each <polyline> of an SVG, in order.
std::vector<std::vector<std::string>> polylines(const std::string& svg) {
    std::vector<std::vector<std::string>> result;
    for (std::size_t at = svg.find("<polyline"); at != std::string::npos;
         at = svg.find("<polyline", at + 1)) {
        const std::size_t start = svg.find("points=\"", at) + 8;
        std::istringstream points(svg.substr(start, svg.find('"', start) - start));
        result.emplace_back(std::istream_iterator<std::string>(points),
                            std::istream_iterator<std::string>());
    }
    return result;
}

class VectorPages : public PictureFiles {};

// A curve of connected lines in one pen is one path on the page, so a dense surface stays a
// small vector file; another pen starts another path.
TEST_F(VectorPages, ConnectedLinesAreOnePath) {
    device = window->get_device();
    use_pen(1, red);
    device->move_to(0, 0);
    for (int x = 1; x < 80; ++x) {
        device->line_to(x, x % 2 == 0 ? 10 : 50);
    }
    use_pen(1, blue);
    device->line_to(0, 59);
    release();
    EXPECT_TRUE(saves_vector_pages(*window));
    ASSERT_EQ(save_picture(*window, path("curve.svg"), PictureFormat::svg), std::nullopt);
    const auto paths = polylines(read_file(path("curve.svg")));
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0].size(), 80u);
    EXPECT_EQ(paths[0].front(), "0,0");
    EXPECT_EQ(paths[0].back(), "79,50");
    EXPECT_EQ(paths[1], (std::vector<std::string>{"79,50", "0,59"}));
}

// Thousands of jumps within one pixel column are kept as the stretch they cover: the path
// stays a few points long and the page shows the whole stretch.
TEST_F(VectorPages, JumpsInOneColumnAreFolded) {
    device = window->get_device();
    use_pen(1, red);
    device->move_to(0, 30);
    for (int jump = 0; jump < 10000; ++jump) {
        device->line_to(5, 5 + (jump * 7919) % 50);
    }
    device->line_to(79, 30);
    release();
    ASSERT_EQ(save_picture(*window, path("jumps.svg"), PictureFormat::svg), std::nullopt);
    const auto paths = polylines(read_file(path("jumps.svg")));
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_LE(paths[0].size(), 6u);
    EXPECT_EQ(paths[0].front(), "0,30");
    EXPECT_EQ(paths[0].back(), "79,30");
    if (command_output("pdftoppm -v 2>&1").empty()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    ASSERT_EQ(save_picture(*window, path("jumps.pdf"), PictureFormat::pdf), std::nullopt);
    const GreyImage page = pdf_page_in_grey(path("jumps.pdf"), 96);
    ASSERT_EQ(page.width, 80);
    for (int y = 5; y <= 54; ++y) {
        EXPECT_LT(std::min(page.at(4, y), page.at(5, y)), 128) << "y = " << y;
    }
}

// Points of a polyline on one straight stretch (within 0.05 pt) are one segment of the page;
// a bend of a pixel, a turn back along the line or a stretch that strays further is kept.
struct StraightRun {
    const char* name;
    std::vector<std::pair<int, int>> points;
    std::vector<std::string> kept;
};

TEST_F(VectorPages, StraightRunsAreOneSegment) {
    const StraightRun runs[] = {
        {"diagonal", {{0, 0}, {10, 5}, {20, 10}, {40, 20}, {60, 30}}, {"0,0", "60,30"}},
        {"bend of a pixel",
         {{0, 0}, {10, 5}, {20, 11}, {30, 16}},
         {"0,0", "10,5", "20,11", "30,16"}},
        {"turn back", {{0, 0}, {40, 20}, {20, 10}}, {"0,0", "40,20", "20,10"}},
        // 1,2 lies near the line to 7,15 and 7,15 near the line to 25,54, but 1,2 does not:
        // a merged point still counts when the stretch grows.
        {"drift", {{0, 0}, {1, 2}, {7, 15}, {25, 54}}, {"0,0", "7,15", "25,54"}},
    };
    for (const StraightRun& run : runs) {
        auto page = create_offscreen_window(80, 60, OffscreenRecording::vector_pages);
        Device* on = page->get_device();
        Pen* pen = create_pen(1, red);
        on->select_pen(pen);
        on->move_to(run.points.front().first, run.points.front().second);
        for (const auto& [x, y] : run.points) {
            on->line_to(x, y);
        }
        page->release_device(on);
        delete_object(pen);
        ASSERT_EQ(save_picture(*page, path("run.svg"), PictureFormat::svg), std::nullopt);
        const auto paths = polylines(read_file(path("run.svg")));
        ASSERT_EQ(paths.size(), 1u) << run.name;
        EXPECT_EQ(paths[0], run.kept) << run.name;
    }
}

// Text that holds control characters still makes XML: they become U+FFFD, and the
// characters XML escapes are escaped.
TEST_F(VectorPages, SvgTextIsAlwaysXml) {
    device = window->get_device();
    device->select_font(font);
    device->text_out(2, 2, "a\x01\x1b<&>\xEF\xBF\xBE");
    release();
    ASSERT_EQ(save_picture(*window, path("text.svg"), PictureFormat::svg), std::nullopt);
    const std::string svg = read_file(path("text.svg"));
    EXPECT_EQ(svg.find('\x01'), std::string::npos);
    EXPECT_EQ(svg.find('\x1b'), std::string::npos);
    EXPECT_NE(svg.find("&lt;&amp;&gt;"), std::string::npos);
    // The page draws runs of one font as text elements of their own, so count the marks.
    int marks = 0;
    for (std::size_t at = svg.find("\xEF\xBF\xBD"); at != std::string::npos;
         at = svg.find("\xEF\xBF\xBD", at + 1)) {
        ++marks;
    }
    EXPECT_EQ(marks, 3);
    if (command_output("xmllint --version 2>&1").empty()) {
        GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    }
    EXPECT_EQ(command_output("xmllint --noout '" + path("text.svg") + "' 2>&1; echo $?"), "0\n");
}

TEST(OffscreenWindow, AnImageOnlyWindowSavesItsImage) {
    auto window = create_offscreen_window(20, 20, OffscreenRecording::image_only);
    EXPECT_FALSE(saves_vector_pages(*window));
}

}  // namespace
}  // namespace toven::platform::testing
