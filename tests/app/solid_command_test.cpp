// toven --render FILE.stl: a binary STL file of the solid, or a refusal that writes nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

using test_support::ProgramRun;

std::uint32_t little_endian_u32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

TEST(SolidCommand, WritesABinaryStlOfTheWholeSolid) {
    test_support::TempFolder folder("solid");
    const std::string path = folder.file("saddle.STL");
    const ProgramRun run = test_support::run_toven(
        {"--render", path, "n=3", "m=4", "k=2", "f(x,y)=x*y", "z1=-0.5", "z2=0.5"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = test_support::read_file(path);
    ASSERT_GE(bytes.size(), 84u);
    EXPECT_NE(bytes.substr(0, 5), "solid");  // which would announce an ASCII file
    // The top's 8 x 6 cells, two triangles each, no more than two triangles under each of
    // the 28 edge segments, and one triangle of the base for each.
    const std::uint32_t count = little_endian_u32(bytes, 80);
    EXPECT_GE(count, 2u * 8 * 6 + 28);
    EXPECT_LE(count, 2u * 8 * 6 + 3 * 28);
    EXPECT_EQ(bytes.size(), 84 + 50 * std::size_t{count});
    // The same items from a data file make the same solid.
    const std::string data = folder.file("saddle.toven");
    std::ofstream(data) << "n=3\nm=4\nk=2\nf(x,y)=x*y\nz1=-0.5\nz2=0.5\n";
    const std::string again = folder.file("again.stl");
    ASSERT_EQ(test_support::run_toven({"--render", again, data}).status, 0);
    EXPECT_EQ(test_support::read_file(again), bytes);
}

TEST(SolidCommand, RefusesWhatMakesNoSolidAndWritesNothing) {
    const struct {
        const char* name;
        std::vector<std::string> items;
        const char* message_part;
    } cases[] = {
        {"too_many_cells", {"n=100", "m=100", "k=15"}, "2250000 cells"},
        {"no_height", {"z2=-0.2"}, "z1 < z2"},
        {"page_option", {"--size", "100x100"}, "only NAME=VALUE items and data files"},
        {"formula_that_does_not_parse", {"f(x,y)=2x"}, "2x  "},
        // Numbers that single precision makes infinite.
        {"base_far_below", {"z1=-1e300", "z2=1"}, "single precision"},
        {"base_just_beyond", {"z1=-1e39"}, "single precision"},
        {"wide_box", {"x1=-3.5e38", "x2=3.5e38", "m=1"}, "single precision"},
        {"high_top", {"z1=0", "z2=1e300", "f(x,y)=1e300"}, "single precision"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder("bad-solid");
        std::vector<std::string> arguments = {"--render", folder.file("s.stl")};
        arguments.insert(arguments.end(), c.items.begin(), c.items.end());
        const ProgramRun run = test_support::run_toven(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
        EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    }
}

}  // namespace
}  // namespace toven
