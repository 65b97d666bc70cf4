// Sweeps: each frame is the page --render draws alone with the frame's value, a GIF keeps its
// colours exactly, and a sweep that cannot be drawn whole writes nothing.
#include "app/command/sweep.h"
#include "app/window/app_state.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/files/data_file.h"
#include "app/files/grid_data.h"
#include "platform/picture_files.h"
#include "tests/support/program_run.h"
#include "tests/support/scoped_threads.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

using test_support::read_file;

struct GifFrame {
    platform::Image image;
    int centiseconds = 0;
};

// The frames of a GIF as a viewer shows them, each in its own palette or the global one.
std::vector<GifFrame> read_gif(const std::string& path, bool& loops) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    std::vector<GifFrame> frames;
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        return frames;
    }
    loops = false;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        const ColorMapObject* map =
            saved.ImageDesc.ColorMap != nullptr ? saved.ImageDesc.ColorMap : gif->SColorMap;
        GifFrame frame;
        frame.image.width = saved.ImageDesc.Width;
        frame.image.height = saved.ImageDesc.Height;
        for (int p = 0; p < frame.image.width * frame.image.height; ++p) {
            const GifColorType c = map->Colors[saved.RasterBits[p]];
            frame.image.pixels.push_back(platform::rgb(c.Red, c.Green, c.Blue));
        }
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) {
            frame.centiseconds = control.DelayTime;
        }
        for (int e = 0; e < saved.ExtensionBlockCount; ++e) {
            const ExtensionBlock& block = saved.ExtensionBlocks[e];
            loops =
                loops || (block.Function == APPLICATION_EXT_FUNC_CODE &&
                          std::string(reinterpret_cast<char*>(block.Bytes), 11) == "NETSCAPE2.0");
        }
        frames.push_back(std::move(frame));
    }
    DGifCloseFile(gif, &error);
    return frames;
}

class SweepTest : public testing::Test {
  protected:
    // The page --render draws with the items set.
    platform::Image single_page(const PagePicture& picture, const std::string& item) {
        EXPECT_FALSE(apply_assignment(state, item));
        SurfaceFunction function(state.fdata);
        const DrawnPage page = draw_page_picture(state, picture, function, nullptr);
        EXPECT_FALSE(page.refusal);
        return platform::snapshot(*page.window);
    }

    Sweep sweep_of(const std::string& text) {
        Sweep sweep;
        EXPECT_FALSE(read_sweep_option("--sweep", text.c_str(), sweep));
        return sweep;
    }

    AppState state;
    test_support::TempFolder folder{"sweep"};
};

TEST_F(SweepTest, GifFramesAreTheSinglePagesInExactColours) {
    const PagePicture picture{folder.file("a.gif"), 240, 180};
    const Sweep sweep = sweep_of("a=1:3:5");
    SurfaceFunction function(state.fdata);
    function.compile();
    ASSERT_EQ(save_sweep(state, picture, sweep, function).status, SavedPage::Status::saved);

    bool loops = false;
    const std::vector<GifFrame> frames = read_gif(picture.path, loops);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_TRUE(loops);
    for (const int frame : {0, 2, 4}) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(frames[frame].centiseconds, 5);
        const platform::Image page = single_page(picture, "a=" + frame_value(sweep, frame));
        EXPECT_TRUE(frames[frame].image.pixels == page.pixels);
    }
}

// A graph data item moves too, and each frame file is the file --render writes.
TEST_F(SweepTest, FrameFilesAreTheSingleRenders) {
    const PagePicture picture{folder.file("tilt-%02d.png"), 200, 150};
    const Sweep sweep = sweep_of("tilt=-30:60:4");
    SurfaceFunction function(state.fdata);
    function.compile();
    ASSERT_EQ(save_sweep(state, picture, sweep, function).status, SavedPage::Status::saved);
    for (const auto& [frame, tilt] : {std::pair{0, "-30"}, std::pair{3, "60"}}) {
        SCOPED_TRACE(frame);
        EXPECT_FALSE(apply_assignment(state, std::string("tilt=") + tilt));
        PagePicture single = picture;
        single.path = folder.file("single.png");
        ASSERT_EQ(save_page(state, single, function, nullptr).status, SavedPage::Status::saved);
        EXPECT_EQ(read_file(frame_path(picture.path, frame)), read_file(single.path));
    }
    EXPECT_FALSE(std::filesystem::exists(frame_path(picture.path, 4)));
}

struct ThreadedSweep {
    const char* file;
    const char* item;  // set before the sweep, when not empty
    const char* sweep;
    std::vector<std::string> folders;
    const char* grid = nullptr;  // the heights of a grid loaded before the sweep
};

// All a sweep leaves: its result, each file under its folder with the bytes, and the tables.
std::string sweep_leaves(const char* threads, const ThreadedSweep& c) {
    const test_support::ScopedThreads scoped(threads);
    const test_support::TempFolder folder("sweep-threads");
    for (const std::string& name : c.folders) {
        std::filesystem::create_directory(folder.path() / name);
    }
    AppState state;
    Sweep sweep;
    EXPECT_FALSE(*c.item != 0 && apply_assignment(state, c.item));
    if (c.grid != nullptr) {
        auto read = read_grid("heights.txt", c.grid);
        EXPECT_FALSE(apply_grid(state, std::move(std::get<GridFile>(read))));
    }
    EXPECT_FALSE(read_sweep_option("--sweep", c.sweep, sweep));
    SurfaceFunction function(state.fdata);
    function.compile();
    const SavedPage saved = save_sweep(state, {folder.file(c.file), 160, 120}, sweep, function);
    std::string leaves = std::to_string(static_cast<int>(saved.status)) + saved.message;
    for (auto at = leaves.find(folder.path()); at != std::string::npos;
         at = leaves.find(folder.path())) {
        leaves.replace(at, folder.path().string().size(), "FOLDER");
    }
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(folder.path())] = read_file(entry.path());
        }
    }
    for (const auto& [name, bytes] : files) {
        leaves += "\n" + name + "\n" + bytes;
    }
    return leaves + data_text(state);
}

// Frames drawn side by side are written as one thread writes them, and a write that fails or
// a frame refused ends the sweep at the same frame, with the tables at its value. A grid's
// frames are drawn from the grid whatever the threads.
TEST(SweepThreads, FramesAreTheSameOnAnyNumberOfThreads) {
    const ThreadedSweep cases[] = {
        {"holes.gif", "f(x,y)=log(x+a-2)+sqrt(y)", "a=1:3:7", {}},
        {"tilt-%02d.png", "fc=1", "tilt=-30:60:6", {}},
        {"frame-%d.svg", "", "a=1:2:4", {}},
        {"d%d/f.png", "", "a=1:2:6", {"d0", "d1", "d3"}},
        {"refused.gif", "", "m=40:400000:3", {}},
        {"grid.gif", "", "tilt=10:40:4", {}, "1 2 3 4\n4 5 nan 6\n7 8 9 1\n"},
    };
    for (const ThreadedSweep& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string one = sweep_leaves("1", c);
        EXPECT_GT(one.size(), 200u);
        EXPECT_TRUE(sweep_leaves("3", c) == one);
    }
}

struct FrameValue {
    Sweep sweep;
    int frame;
    const char* text;
};

TEST(SweepText, FrameValuesAndNames) {
    const FrameValue values[] = {
        {{"a", 0, 1, 11}, 0, "0"},
        {{"a", 0, 1, 11}, 3, "0.3"},
        {{"a", 0.1, 0.3, 3}, 2, "0.3"},
        {{"m", 40, 10, 4}, 1, "30"},
        // TO - FROM overflows a double; the middle frame lies between the two.
        {{"a", -1e308, 1e308, 3}, 1, "0"},
        // A counting item is a whole number in digits, which its reader takes.
        {{"pc", 0, 100000, 2}, 1, "100000"},
        {{"k", 1, 0, 3}, 1, "1"},
        {{"fc", -1, 0, 5}, 3, "0"},
    };
    for (const FrameValue& v : values) {
        SCOPED_TRACE(v.sweep.name + " frame " + std::to_string(v.frame));
        EXPECT_EQ(frame_value(v.sweep, v.frame), v.text);
    }
    EXPECT_EQ(frame_path("f-%03d.png", 7), "f-007.png");
    EXPECT_EQ(frame_path("%d.svg", 12), "12.svg");
    EXPECT_EQ(frame_path("100%%-%2d.pdf", 5), "100%- 5.pdf");
}

struct BadSweep {
    const char* name;
    std::vector<std::string> arguments;
    std::string message_part;
};

// Refused before anything is written: the folder stays empty.
TEST(SweepCommand, RefusesABadSweepAndWritesNothing) {
    const BadSweep cases[] = {
        {"one_frame", {"a.gif", "--sweep", "a=1:3:1"}, "FRAMES from 2 to 1000"},
        {"too_many_frames", {"a.gif", "--sweep", "a=1:3:1001"}, "FRAMES from 2 to 1000"},
        {"to_is_from", {"a.gif", "--sweep", "a=2:2:5"}, "TO other than FROM"},
        {"unknown_name", {"a.gif", "--sweep", "q=1:2:5"}, "Unknown name \"q\""},
        {"formula", {"a.gif", "--sweep", "f(x,y)=1:2:5"}, "number item"},
        {"title", {"a.gif", "--sweep", "title=1:2:5"}, "number item"},
        {"no_frames", {"a.gif", "--sweep", "a=1:2"}, "NAME=FROM:TO:FRAMES"},
        {"not_a_number", {"a.gif", "--sweep", "a=1:x:5"}, "NAME=FROM:TO:FRAMES"},
        {"no_pattern", {"a.png", "--sweep", "a=1:2:3"}, "frame number pattern"},
        {"two_patterns", {"a-%d-%d.png", "--sweep", "a=1:2:3"}, "frame number pattern"},
        {"gif_without_sweep", {"a.gif"}, "written by a sweep"},
        {"rate_of_zero", {"a.gif", "--sweep", "a=1:2:3", "--fps", "0"}, "--fps needs"},
        {"rate_without_sweep", {"a.png", "--fps", "10"}, "--fps sets the pace"},
        {"frame_beyond_the_bound",
         {"a.gif", "--sweep", "m=40:400000:3"},
         " This is frame 1 (m = 200020)."},
        {"frame_files_beyond_the_bound",
         {"f-%d.png", "--sweep", "k=1:0:3"},
         " This is frame 2 (k = 0)."},
        // Each page is allowed, but a thousand of them are too many for one sweep.
        {"sweep_too_long",
         {"a.gif", "--sweep", "a=2:3:1000", "m=400", "n=200", "k=20"},
         "more than the 60 s a whole sweep may take"},
    };
    for (const BadSweep& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder("bad-sweep");
        std::vector<std::string> arguments = {"--render", folder.file(c.arguments[0])};
        arguments.insert(arguments.end(), c.arguments.begin() + 1, c.arguments.end());
        const test_support::ProgramRun run = test_support::run_toven(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
        EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    }
}

}  // namespace
}  // namespace toven
