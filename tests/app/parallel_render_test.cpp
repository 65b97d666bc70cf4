// Pages of the fixed set, made dense enough to be shared out, come out of the program with the
// same bytes on one thread and on several; so do the STL solid and a refusal's message.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace toven::test_support {
namespace {

// toven --render FILE ITEMS with TOVEN_THREADS set; the file's bytes then the messages.
std::string rendered(const TempFolder& folder, const std::string& file, const std::string& items,
                     int threads) {
    const std::string path = folder.file(std::to_string(threads) + file);
    const std::string messages =
        command_output("TOVEN_THREADS=" + std::to_string(threads) + " '" + toven_binary() +
                       "' --render '" + path + "' " + items + " 2>&1");
    return read_file(path) + messages;
}

TEST(ParallelRender, PagesAreTheSameOnAnyNumberOfThreads) {
    const struct {
        const char* file;
        const char* items;
    } cases[] = {
        {"default.png", ""},
        {"print-layout.png", "--print-layout"},
        {"tilt-negative.png", "tilt=-30"},
        {"reversed.png", "x1=1 x2=-1 y1=1 y2=-1"},
        {"frame-axes.svg", "fc=1 ax=1"},
        {"domain-error.png", "'f(x,y)=log(x)+sqrt(y)'"},
        {"leaves-box.png", "z1=0 z2=0.1"},
        {"flat-below.png", "'f(x,y)=0.5' tilt=-30"},
        {"solid.stl", "'f(x,y)=log(x)+sqrt(y)' z1=-1 k=8"},
    };
    const TempFolder folder("parallel_render");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string items = std::string(c.items) + " n=60 m=120";
        const std::string one = rendered(folder, c.file, items, 1);
        EXPECT_GT(one.size(), 1000u);
        EXPECT_TRUE(rendered(folder, c.file, items, 3) == one);
    }
}

}  // namespace
}  // namespace toven::test_support
