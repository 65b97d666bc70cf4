// toven --render, run as the program a script runs: the file it writes, and what it refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/colours.h"
#include "tests/support/pixel_counts.h"
#include "tests/support/program_run.h"
#include "tests/support/test_files.h"
#include "tests/support/tool_output.h"

namespace toven {
namespace {

using test_support::ProgramRun;
using test_support::read_file;

// Runs toven --render with the arguments; `file_limit` bounds the size of any file it writes.
ProgramRun render(std::vector<std::string> arguments, rlim_t file_limit = RLIM_INFINITY) {
    arguments.insert(arguments.begin(), "--render");
    return test_support::run_toven(arguments, {.file_limit = file_limit});
}

bool file_exists(const std::string& path) {
    return std::ifstream(path).good();
}

// Every picture a test renders lands in a folder of the test's own.
class RenderCommand : public testing::Test {
  protected:
    std::string out_path(const std::string& name) const { return folder.file(name); }

    test_support::TempFolder folder{"render"};
};

struct PictureCase {
    const char* file;
    std::vector<std::string> options;
    std::string magic;
};

TEST_F(RenderCommand, WritesAReadablePicture) {
    const PictureCase cases[] = {
        {"default.png", {}, "\x89PNG\r\n\x1a\n"},
        {"page.pdf", {}, "%PDF-"},
        {"page.svg", {}, "<?xml"},
        {"upper.PNG", {"--print-layout", "fc=1", "ax=1"}, "\x89PNG\r\n\x1a\n"},
        {"formula.png", {"f(x,y)=x^2-y^2", "a=2", "tilt=-30", "k=1"}, "\x89PNG\r\n\x1a\n"},
        {"figure.svg", {"--figure"}, "<?xml"},
        {"figure.tex", {}, "% A picture by toven"},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = out_path(c.file);
        std::remove(path.c_str());
        std::vector<std::string> arguments = {path};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const ProgramRun run = render(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(read_file(path).substr(0, c.magic.size()), c.magic);
        std::remove(path.c_str());
    }
}

// Pixels stay pixels; a length is drawn at 96 pixels an inch.
TEST_F(RenderCommand, DrawsOnTheGivenSize) {
    const struct {
        const char* size;
        std::pair<int, int> pixels;
    } cases[] = {{"320x240", {320, 240}}, {"8cmx60mm", {302, 227}}};
    for (const auto& c : cases) {
        const std::string path = out_path("small.png");
        const ProgramRun run = render({path, "--size", c.size});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(test_support::png_size(read_file(path)), c.pixels) << c.size;
        std::remove(path.c_str());
    }
}

// The figure is the surface alone: none of the page's pale panels.
TEST_F(RenderCommand, TheFigureDrawsNoPanels) {
    for (const bool figure : {false, true}) {
        const std::string path = out_path("figure.png");
        std::vector<std::string> arguments = {path, "fc=1", "title=Saddle"};
        if (figure) {
            arguments.push_back("--figure");
        }
        ASSERT_EQ(render(arguments).status, 0);
        const int pale = test_support::count_colour(test_support::decoded_picture(path),
                                                    test_support::pale_yellow);
        EXPECT_EQ(pale > 10000, !figure) << pale;
    }
}

// A TeX picture of the given physical size that a LaTeX document inputs and typesets.
// A grid stands in for the formula in a figure too: one sampling x y at its nodes, which it
// follows exactly between them, draws the figure of that formula.
TEST_F(RenderCommand, AGridsFigureIsTheSurfaceOfItsHeights) {
    const std::string grid = out_path("saddle.csv");
    std::ofstream(grid) << ",-1,0,1\n-1,1,0,-1\n0,0,0,0\n1,-1,0,1\n";
    const std::string from_grid = out_path("grid.png");
    const std::string from_formula = out_path("formula.png");
    ASSERT_EQ(render({from_grid, "--figure", grid}).status, 0);
    ASSERT_EQ(render({from_formula, "--figure", "f(x,y)=x*y", "m=2", "n=2", "k=1", "x1=-1", "x2=1",
                      "y1=-1", "y2=1", "z1=-1", "z2=1"})
                  .status,
              0);
    const platform::Image figure = test_support::decoded_picture(from_grid);
    EXPECT_FALSE(figure.pixels.empty());
    EXPECT_EQ(figure.pixels, test_support::decoded_picture(from_formula).pixels);
}

TEST_F(RenderCommand, ATexPictureCompilesAtItsSize) {
    const std::string path = out_path("figure.tex");
    const ProgramRun run = render({path, "--size", "8cmx6cm", "title=Saddle"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(read_file(path).find("rectangle (226.8,170.1)"), std::string::npos);
    if (!test_support::has_pdflatex()) {
        GTEST_SKIP() << "pdflatex (texlive-latex-base, texlive-pictures) is not installed";
    }
    ASSERT_EQ(test_support::typeset_figure(folder.path().string(), "figure.tex"), "0\n");
    const std::string text =
        test_support::command_output("pdftotext '" + out_path("paper.pdf") + "' -");
    EXPECT_NE(text.find("Saddle"), std::string::npos) << text;
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments;  // after the file
    const char* file;
    std::string message_part;
};

TEST_F(RenderCommand, RefusesBadInputAndWritesNothing) {
    const RefusalCase cases[] = {
        {"unknown name", {"q=1"}, "a.png", "Unknown name \"q\""},
        {"assignment without =", {"tilt"}, "a.png", "NAME=VALUE"},
        {"size without a height", {"--size", "800"}, "a.png", "The option --size needs WxH"},
        {"size of zero", {"--size", "0x600"}, "a.png", "The option --size needs WxH"},
        {"size below one", {"--size", "-800x600"}, "a.png", "The option --size needs WxH"},
        {"size too large", {"--size", "100000x600"}, "a.png", "The option --size needs WxH"},
        {"size missing", {"--size"}, "a.png", "The option --size needs WxH"},
        {"size in inches", {"--size", "3inx2in"}, "a.png", "The option --size needs WxH"},
        {"pixels by a length", {"--size", "800x6cm"}, "a.png", "The option --size needs WxH"},
        {"TeX picture too large", {"--size", "2000x1500"}, "a.tex", "a TeX picture is at most"},
        {"unknown option", {"--colour"}, "a.png", "Unknown option \"--colour\""},
        {"unsupported extension", {}, "a.bmp", "must end in .png, .pdf, .svg or .tex"},
        {"no extension", {}, "picture", "must end in .png, .pdf, .svg or .tex"},
        {"graph data that cannot be plotted", {"m=0"}, "a.png", "toven: The mesh needs"},
        {"formula that does not parse", {"f(x,y)=2x"}, "a.png", "2x  "},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = out_path(c.file);
        std::remove(path.c_str());
        std::vector<std::string> arguments = {path};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProgramRun run = render(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
        EXPECT_FALSE(file_exists(path));
    }
}

TEST_F(RenderCommand, NeedsAFile) {
    EXPECT_EQ(render({}).status, 1);
    const ProgramRun run = render({"--size", "800x600"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("needs a FILE"), std::string::npos) << run.err;
}

// Ink pixels (lines and text, darker than every panel's fill, in poppler's grey) of `page` with no
// ink within two pixels in `reference`. A PDF's one-unit line can cover two pixel rows where the
// image has one, and runs on through the pixels the image's lines leave out at their ends.
int unmatched_ink(const test_support::GreyImage& page, const test_support::GreyImage& reference) {
    constexpr int ink = 200;
    constexpr int reach = 2;
    auto inked = [&reference](int x, int y) {
        return x >= 0 && y >= 0 && x < reference.width && y < reference.height &&
               reference.at(x, y) < ink;
    };
    int unmatched = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            bool matched = page.at(x, y) >= ink;
            for (int dy = -reach; dy <= reach && !matched; ++dy) {
                for (int dx = -reach; dx <= reach && !matched; ++dx) {
                    matched = inked(x + dx, y + dy);
                }
            }
            unmatched += matched ? 0 : 1;
        }
    }
    return unmatched;
}

// The PDF is drawn again from the recorded lines and text, not from the image: rendered at the
// page's resolution its lines and text lie where the PNG's do, up to a pixel.
TEST_F(RenderCommand, PdfShowsThePageOfThePng) {
    using test_support::command_output;
    if (command_output("pdftoppm -v 2>&1").empty() ||
        command_output("convert -version 2>/dev/null").empty()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) or convert (imagemagick) is not installed";
    }
    for (const std::vector<std::string>& options : {std::vector<std::string>{},
                                                    {"--print-layout", "fc=1", "ax=1"},
                                                    {"n=60", "m=60", "k=8"}}) {
        const std::string png = out_path("same.png");
        const std::string pdf = out_path("same.pdf");
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.begin(), png);
        ASSERT_EQ(render(arguments).status, 0);
        arguments[0] = pdf;
        ASSERT_EQ(render(arguments).status, 0);
        const auto image = test_support::read_pgm(
            command_output("convert '" + png + "' -grayscale Rec601Luma pgm:-"));
        const auto page = test_support::pdf_page_in_grey(pdf, 96);
        ASSERT_EQ(page.width, image.width);
        ASSERT_EQ(page.height, image.height);
        const int allowed = image.width * image.height / 10000;
        EXPECT_LE(unmatched_ink(page, image), allowed);
        EXPECT_LE(unmatched_ink(image, page), allowed);
        std::remove(png.c_str());
        std::remove(pdf.c_str());
    }
}

// A disk that fills up while the picture is written: the old picture stays as it was and no
// new file is left beside it.
TEST_F(RenderCommand, FullDiskKeepsTheOldPicture) {
    for (const char* name : {"plot.png", "plot.pdf", "plot.svg"}) {
        SCOPED_TRACE(name);
        const std::string path = out_path(name);
        ASSERT_EQ(render({path}).status, 0);
        const std::string good = read_file(path);
        const ProgramRun run = render({path, "a=3", "tilt=40"}, 2048);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "toven: Cannot write \"" + path + "\": File too large.\n");
        EXPECT_EQ(read_file(path), good);
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 3u);
}

TEST_F(RenderCommand, RefusesASpecialFile) {
    const std::string fifo = out_path("plot.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const ProgramRun run = render({fifo});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "toven: Cannot write \"" + fifo +
                           "\": it is a FIFO (named pipe), not a regular file.\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

// A surface whose pen changes at nearly every sample would make a vector page of 160 MB: it is
// kept as the page's image instead, within the file size, the memory and the time of a plot.
TEST(RenderVectorPage, ADrawingTooLargeForLinesIsSavedAsTheImage) {
    test_support::TempFolder folder{"vector"};
    for (const char* name : {"jumping.svg", "jumping.pdf"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.file(name);
        const ProgramRun run =
            render({path, "f(x,y)=(2+y+x)*(sin(99999*x*y)/|sin(99999*x*y)|)", "z1=-3", "z2=3",
                    "n=100", "m=100", "k=46", "--size", "200x150"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find("holds the page as an image"), std::string::npos) << run.err;
        EXPECT_LT(std::filesystem::file_size(path), 30u << 20);
    }
}

}  // namespace
}  // namespace toven
