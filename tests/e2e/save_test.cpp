// Plot > Save... as a person uses it: the item chosen on the menu, the file dialog answered
// through its seam, and the file read back: the plot window's page, pixel for pixel.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/files/data_file.h"
#include "app/parse_error_box.h"
#include "platform/file_dialog.h"
#include "platform/picture_files.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/program_run.h"
#include "tests/support/tool_output.h"

namespace toven::test_support {
namespace {

namespace fs = std::filesystem;

constexpr int plot_width = 640;
constexpr int plot_height = 480;

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class SaveTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        std::string pattern = testing::TempDir() + "toven-save-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        fs::remove_all(folder);
        ShellTest::TearDown();
    }

    void assign(const std::string& item) { ASSERT_EQ(apply_assignment(state, item), std::nullopt); }

    std::string path(const std::string& name) const { return folder + "/" + name; }

    // Whether a box is the question of page or figure that each picture's save asks.
    static bool is_figure_question(const platform::ShownMessageBox& box) {
        return box.buttons == platform::MessageBoxButtons::yes_no && box.caption == "Save";
    }

    // The boxes shown that report something, the question of page or figure left out.
    std::vector<platform::ShownMessageBox> reports() const {
        std::vector<platform::ShownMessageBox> shown;
        std::ranges::copy_if(boxes.shown(), std::back_inserter(shown),
                             [](const auto& box) { return !is_figure_question(box); });
        return shown;
    }

    void choose_save() {
        ASSERT_TRUE(platform::inject::choose_menu_command(main_window, command_number(save)));
    }

    // A plot window of the test's size, plotted by a click.
    void plot_in_window() {
        command(screen);
        platform::inject::resize(state.plot_window, plot_width, plot_height);
        platform::inject::click(state.plot_window, {10, 10});
    }

    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    platform::FileDialogSeam dialog;
    std::string folder;
};

TEST_F(SaveTest, TheItemIsAtTheEndOfThePlotMenuAndAsksForAPictureFile) {
    choose_save();
    ASSERT_EQ(dialog.shown().size(), 1u);
    EXPECT_EQ(dialog.shown()[0].owner, main_window);
    EXPECT_EQ(dialog.shown()[0].caption, "Save");
    EXPECT_EQ(dialog.shown()[0].suggested_name, "toven.png");
    std::vector<std::string> extensions;
    for (const platform::FileType& type : dialog.shown()[0].types) {
        extensions.push_back(type.extension);
    }
    EXPECT_EQ(extensions, (std::vector<std::string>{"png", "pdf", "svg", "tex"}));
}

// A picture asks whether the page or the figure is saved; a TeX picture is always the figure.
TEST_F(SaveTest, YesSavesTheFigureAndATexPictureAsksNothing) {
    plot_in_window();
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    dialog.queue_path(path("figure.png"));
    choose_save();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(is_figure_question(boxes.shown()[0]));
    const platform::Image figure = decoded_picture(path("figure.png"));
    EXPECT_EQ(figure.width, plot_width);
    EXPECT_EQ(count_colour(figure, pale_yellow), 0) << "no panels";
    EXPECT_GT(count_not(figure, white), 1000);

    boxes.clear_shown();
    dialog.queue_path(path("figure.tex"));
    choose_save();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_NE(contents(path("figure.tex")).find("\\begin{tikzpicture}"), std::string::npos);
}

TEST_F(SaveTest, ThePngIsThePlotWindowsPagePixelForPixel) {
    plot_in_window();
    const platform::Image page = platform::snapshot(*state.plot_window);
    dialog.queue_path(path("page.png"));
    choose_save();
    const platform::Image saved = decoded_picture(path("page.png"));
    ASSERT_EQ(saved.width, plot_width);
    ASSERT_EQ(saved.height, plot_height);
    EXPECT_EQ(saved.pixels, page.pixels);
    EXPECT_TRUE(reports().empty());
}

// Saving draws a page of its own: the window keeps its page and its readout, and a window
// whose readout a resize stopped keeps it stopped.
TEST_F(SaveTest, TheScreenPlotIsLeftAsItWas) {
    plot_in_window();
    const platform::Image page = platform::snapshot(*state.plot_window);
    SurfacePlotter* const screen_plotter = state.plotter.get();
    SurfaceFunction* const screen_function = state.surface_function.get();
    dialog.queue_path(path("page.png"));
    choose_save();
    EXPECT_EQ(platform::snapshot(*state.plot_window).pixels, page.pixels);
    EXPECT_TRUE(state.readout_ready);
    EXPECT_EQ(state.plotter.get(), screen_plotter);
    EXPECT_EQ(state.surface_function.get(), screen_function);
    ASSERT_NE(state.surface_function->parse_error_sink.target<ParseErrorBox>(), nullptr);
    EXPECT_EQ(state.surface_function->parse_error_sink.target<ParseErrorBox>()->owner,
              state.plot_window);
    platform::inject::move_mouse(state.plot_window,
                                 {plot_width * 87 / 100, plot_height * 35 / 100});
    const platform::Rect readout_panel{plot_width * 77 / 100, plot_height * 10 / 100,
                                       plot_width * 98 / 100, plot_height * 23 / 100};
    EXPECT_GT(count_colour(platform::snapshot(*state.plot_window), readout_panel, dark_blue), 50)
        << "the readout still answers the mouse";

    platform::inject::resize(state.plot_window, plot_width, plot_height + 20);
    dialog.queue_path(path("resized.png"));
    choose_save();
    EXPECT_FALSE(state.readout_ready);
    EXPECT_EQ(decoded_picture(path("resized.png")).height, plot_height + 20);
}

TEST_F(SaveTest, PdfAndSvgAreWholePagesOfTheWindowsSize) {
    plot_in_window();
    dialog.queue_path(path("page.pdf"));
    dialog.queue_path(path("page.svg"));
    choose_save();
    choose_save();
    // 96 pixels make an inch of 72 points.
    EXPECT_EQ(pdf_info(path("page.pdf"), "Pages"), "1");
    EXPECT_EQ(pdf_info(path("page.pdf"), "Page size"), "480 x 360 pts");
    const std::string svg = contents(path("page.svg"));
    EXPECT_NE(svg.find("viewBox=\"0 0 640 480\""), std::string::npos);
    EXPECT_NE(svg.find("f(x,y) = sin(|x|^a  + |y|^b)"), std::string::npos) << "text stays text";
    const platform::Image drawn = decoded_picture(path("page.svg"));
    EXPECT_EQ(drawn.width, plot_width);
    EXPECT_EQ(drawn.height, plot_height);
    EXPECT_TRUE(reports().empty());
}

// With no plot window open the page has the default size; a name without an extension is
// a PNG.
TEST_F(SaveTest, WithoutAPlotWindowThePageIs800By600) {
    dialog.queue_path(path("page"));
    choose_save();
    EXPECT_EQ(files(), std::vector<std::string>{"page.png"});
    const platform::Image saved = decoded_picture(path("page.png"));
    EXPECT_EQ(saved.width, 800);
    EXPECT_EQ(saved.height, 600);
    EXPECT_GT(count_not(saved, white), 10000);
}

struct FailingTarget {
    const char* name;
    std::string file;   // in the test's folder
    const char* cause;  // in the box's text
    bool make_fifo = false;
};

TEST_F(SaveTest, AFailedSaveIsReportedAndWritesNothing) {
    const FailingTarget targets[] = {
        {"missing_folder", "missing/page.png", "No such file or directory"},
        {"fifo", "pipe.png", "it is a FIFO (named pipe), not a regular file", true},
        {"folder", "folder.png", "folder"},
        {"unknown_extension", "page.bmp", "must end in .png, .pdf, .svg or .tex"},
    };
    plot_in_window();
    for (const FailingTarget& target : targets) {
        SCOPED_TRACE(target.name);
        const std::string file = path(target.file);
        if (target.make_fifo) {
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        }
        if (std::string(target.name) == "folder") {
            fs::create_directory(file);
        }
        const std::vector<std::string> before = files();
        boxes.clear_shown();
        dialog.queue_path(file);
        choose_save();
        ASSERT_EQ(reports().size(), 1u);
        EXPECT_EQ(reports()[0].owner, main_window);
        EXPECT_EQ(reports()[0].caption, "Save");
        EXPECT_NE(reports()[0].text.find(file), std::string::npos) << reports()[0].text;
        EXPECT_NE(reports()[0].text.find(target.cause), std::string::npos) << reports()[0].text;
        EXPECT_EQ(files(), before);
    }
    EXPECT_TRUE(fs::is_fifo(path("pipe.png")));
}

TEST_F(SaveTest, CancelWritesNothing) {
    plot_in_window();
    dialog.queue_cancel();
    choose_save();
    EXPECT_EQ(dialog.shown().size(), 1u);
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(reports().empty());
}

TEST_F(SaveTest, GraphDataThatCannotBePlottedIsReportedAndWritesNothing) {
    plot_in_window();
    assign("m=0");
    dialog.queue_path(path("page.png"));
    choose_save();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].caption, "Cannot plot");
    EXPECT_NE(reports()[0].text.find("\"" + path("page.png") + "\" was not written"),
              std::string::npos)
        << reports()[0].text;
    EXPECT_TRUE(files().empty());
}

// As a click does: the box over the plot window, and the page with f = 0.
TEST_F(SaveTest, AFormulaThatDoesNotParseIsReportedAndThePageSaved) {
    assign("f(x,y)=x*(y");
    plot_in_window();
    const platform::Image page = platform::snapshot(*state.plot_window);
    boxes.clear_shown();
    dialog.queue_path(path("page.png"));
    choose_save();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].owner, state.plot_window);
    EXPECT_EQ(decoded_picture(path("page.png")).pixels, page.pixels);
}

// A full disk is told once, in the program's words: the libraries behind the picture
// writers add nothing of their own on standard error.
TEST_F(SaveTest, AFullDiskIsReportedWithoutTheLibrariesWords) {
    for (const char* name : {"big.png", "big.pdf", "big.svg"}) {
        SCOPED_TRACE(name);
        const std::string file = path(name);
        const ProgramRun run =
            run_toven({"--render", file, "--size", "2000x2000"}, {.file_limit = 4096});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "toven: Cannot write \"" + file + "\": File too large.\n");
        EXPECT_TRUE(files().empty());
    }
}

bool is_white(platform::ColourRef colour) {
    return colour == platform::rgb(255, 255, 255);
}

// Every panel of an SVG page clips as on the PNG: a surface taller than its box and the mini
// grid's lines stay inside their panels. The SVG is drawn by another program (librsvg), so
// its edges are smoothed: the page's white, away from anything the PNG draws, must stay
// white there.
TEST_F(SaveTest, SvgPanelsClipAsThePngDoes) {
    if (command_output("command -v rsvg-convert").empty()) {
        GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed";
    }
    const std::vector<std::string> items{"z1=0.3", "z2=0.6"};
    for (const char* name : {"page.png", "page.svg"}) {
        std::vector<std::string> arguments{"--render", path(name)};
        arguments.insert(arguments.end(), items.begin(), items.end());
        ASSERT_EQ(run_toven(arguments).status, 0) << name;
    }
    const platform::Image png = decoded_picture(path("page.png"));
    // At the page's size in pixels: from its size in millimetres the width would round up.
    command_output("rsvg-convert -w " + std::to_string(png.width) + " -h " +
                   std::to_string(png.height) + " '" + path("page.svg") + "' -o '" +
                   path("svg.png") + "'");
    const platform::Image svg = decoded_picture(path("svg.png"));
    ASSERT_EQ(svg.width, png.width);
    ASSERT_EQ(svg.height, png.height);
    constexpr int margin = 2;  // pixels a smoothed edge may spread
    const auto white_around = [&](int x, int y) {
        for (int dy = -margin; dy <= margin; ++dy) {
            for (int dx = -margin; dx <= margin; ++dx) {
                const int u = std::clamp(x + dx, 0, png.width - 1);
                const int v = std::clamp(y + dy, 0, png.height - 1);
                if (!is_white(png.pixels[static_cast<std::size_t>(v) * png.width + u])) {
                    return false;
                }
            }
        }
        return true;
    };
    int spilled = 0;
    for (int y = 0; y < png.height; ++y) {
        for (int x = 0; x < png.width; ++x) {
            const platform::ColourRef drawn =
                svg.pixels[static_cast<std::size_t>(y) * svg.width + x];
            const bool pale = platform::red_of(drawn) > 200 && platform::green_of(drawn) > 200 &&
                              platform::blue_of(drawn) > 200;
            spilled += white_around(x, y) && !pale ? 1 : 0;
        }
    }
    EXPECT_EQ(spilled, 0);
}

}  // namespace
}  // namespace toven::test_support
