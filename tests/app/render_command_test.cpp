// toven --render, run as the program a script runs: the file it writes, and what it refuses.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/tool_output.h"

namespace toven {
namespace {

struct RenderRun {
    int status = -1;
    std::string err;
};

std::string file_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool file_exists(const std::string& path) {
    return std::ifstream(path).good();
}

// The program under test: TOVEN_BINARY, else the toven built beside this test program.
std::string toven_binary() {
    if (const char* binary = std::getenv("TOVEN_BINARY")) {
        return binary;
    }
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/')) + "/../app/toven";
}

// Runs toven --render with the arguments; `file_limit` bounds the size of any file it writes
// (SIGXFSZ ignored, so a write past it fails as on a full disk).
RenderRun render(std::vector<std::string> arguments, rlim_t file_limit = RLIM_INFINITY) {
    const std::string program = toven_binary();
    const char* binary = program.c_str();
    std::string err_path = testing::TempDir() + "render_err_XXXXXX";
    const int err = mkstemp(err_path.data());
    arguments.insert(arguments.begin(), {binary, "--render"});
    const pid_t child = fork();
    if (child == 0) {
        dup2(err, 2);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{file_limit, file_limit};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(binary, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(err);
    RenderRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, file_text(err_path)};
    std::remove(err_path.c_str());
    return run;
}

std::string out_path(const std::string& name) {
    return testing::TempDir() + "render_" + name;
}

// Width and height from a PNG's header chunk.
std::pair<int, int> png_size(const std::string& png) {
    auto at = [&png](std::size_t i) {
        return static_cast<int>(static_cast<unsigned char>(png[i])) << 24 |
               static_cast<unsigned char>(png[i + 1]) << 16 |
               static_cast<unsigned char>(png[i + 2]) << 8 | static_cast<unsigned char>(png[i + 3]);
    };
    return {at(16), at(20)};
}

struct PictureCase {
    const char* file;
    std::vector<std::string> options;
    std::string magic;
};

TEST(RenderCommand, WritesAReadablePicture) {
    const PictureCase cases[] = {
        {"default.png", {}, "\x89PNG\r\n\x1a\n"},
        {"page.pdf", {}, "%PDF-"},
        {"page.svg", {}, "<?xml"},
        {"upper.PNG", {"--print-layout", "fc=1", "ax=1"}, "\x89PNG\r\n\x1a\n"},
        {"formula.png", {"f(x,y)=x^2-y^2", "a=2", "tilt=-30", "k=1"}, "\x89PNG\r\n\x1a\n"},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = out_path(c.file);
        std::remove(path.c_str());
        std::vector<std::string> arguments = {path};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const RenderRun run = render(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(file_text(path).substr(0, c.magic.size()), c.magic);
        std::remove(path.c_str());
    }
}

TEST(RenderCommand, DrawsOnTheGivenSize) {
    const std::string path = out_path("small.png");
    const RenderRun run = render({path, "--size", "320x240"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(png_size(file_text(path)), std::make_pair(320, 240));
    std::remove(path.c_str());
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments;  // after the file
    const char* file;
    std::string message_part;
};

TEST(RenderCommand, RefusesBadInputAndWritesNothing) {
    const RefusalCase cases[] = {
        {"unknown name", {"q=1"}, "a.png", "unknown name 'q'"},
        {"assignment without =", {"tilt"}, "a.png", "NAME=VALUE"},
        {"size without a height", {"--size", "800"}, "a.png", "--size needs WxH"},
        {"size of zero", {"--size", "0x600"}, "a.png", "--size needs WxH"},
        {"size with a sign", {"--size", "+800x600"}, "a.png", "--size needs WxH"},
        {"size too large", {"--size", "100000x600"}, "a.png", "--size needs WxH"},
        {"size missing", {"--size"}, "a.png", "--size needs WxH"},
        {"unknown option", {"--colour"}, "a.png", "unknown option '--colour'"},
        {"unsupported extension", {}, "a.bmp", "must end in .png, .pdf or .svg"},
        {"no extension", {}, "picture", "must end in .png, .pdf or .svg"},
        {"graph data that cannot be plotted", {"m=0"}, "a.png", "cannot plot: The mesh needs"},
        {"formula that does not parse", {"f(x,y)=2x"}, "a.png", "2x  "},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = out_path(c.file);
        std::remove(path.c_str());
        std::vector<std::string> arguments = {path};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const RenderRun run = render(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
        EXPECT_FALSE(file_exists(path));
    }
}

TEST(RenderCommand, NeedsAFile) {
    EXPECT_EQ(render({}).status, 1);
    const RenderRun run = render({"--size", "800x600"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("needs a FILE"), std::string::npos) << run.err;
}

// Ink pixels (lines and text, darker than every panel's fill, in poppler's grey) of `page` with no
// ink within two pixels in `reference`. A PDF's one-unit line can cover two pixel rows where the
// image has one, and runs on through the pixels the image's lines leave out at their ends.
int unmatched_ink(const platform::testing::GreyImage& page,
                  const platform::testing::GreyImage& reference) {
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
TEST(RenderCommand, PdfShowsThePageOfThePng) {
    using platform::testing::run;
    if (run("pdftoppm -v 2>&1").empty() || run("convert -version 2>/dev/null").empty()) {
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
        const auto image =
            platform::testing::read_pgm(run("convert '" + png + "' -grayscale Rec601Luma pgm:-"));
        const auto page = platform::testing::pdf_page_in_grey(pdf, 96);
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
TEST(RenderCommand, FullDiskKeepsTheOldPicture) {
    std::string folder = testing::TempDir() + "render_full_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    for (const char* name : {"plot.png", "plot.pdf", "plot.svg"}) {
        SCOPED_TRACE(name);
        const std::string path = folder + "/" + name;
        ASSERT_EQ(render({path}).status, 0);
        const std::string good = file_text(path);
        const RenderRun run = render({path, "a=3", "tilt=40"}, 2048);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "toven: Cannot write \"" + path + "\": File too large.\n");
        EXPECT_EQ(file_text(path), good);
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 3u);
    std::filesystem::remove_all(folder);
}

TEST(RenderCommand, RefusesASpecialFile) {
    std::string folder = testing::TempDir() + "render_fifo_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string fifo = folder + "/plot.png";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const RenderRun run = render({fifo});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "toven: Cannot write \"" + fifo +
                           "\": it is a FIFO (named pipe), not a regular file.\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace toven
