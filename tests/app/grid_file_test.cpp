// Grid files: every format and layout of one grid reads to the same grid, and bad files are
// refused by file and line.
#include "app/files/grid_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace toven {
namespace {

constexpr double hole = std::numeric_limits<double>::quiet_NaN();

// Values row by row, as the files below hold them.
const std::vector<double> values = {1.5, -2, hole, 4, 0, 0.25, 7, 8, 9, 10, 11, -12e3};

// A .npy file of `shape_text` holding `row_major` (row by row) in the order and type given.
std::string npy(const std::string& descr, bool fortran, const std::string& shape_text,
                const std::vector<double>& row_major, std::size_t columns) {
    std::string header = "{'descr': '" + descr +
                         "', 'fortran_order': " + (fortran ? "True" : "False") +
                         ", 'shape': " + shape_text + ", }";
    header.append(63 - (10 + header.size()) % 64, ' ');
    header += '\n';
    std::string bytes = "\x93NUMPY\x01";
    bytes += '\0';
    bytes += static_cast<char>(header.size() & 0xFF);
    bytes += static_cast<char>(header.size() >> 8);
    bytes += header;
    const std::size_t rows = row_major.size() / columns;
    for (std::size_t a = 0; a < (fortran ? columns : rows); ++a) {
        for (std::size_t b = 0; b < (fortran ? rows : columns); ++b) {
            const double value = row_major[fortran ? b * columns + a : a * columns + b];
            std::string item(descr[2] == '8' ? 8 : 4, '\0');
            if (item.size() == 8) {
                const auto bits = std::bit_cast<std::uint64_t>(value);
                std::memcpy(item.data(), &bits, 8);
            } else {
                const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
                std::memcpy(item.data(), &bits, 4);
            }
            if (descr[0] == '>') {
                std::reverse(item.begin(), item.end());
            }
            bytes += item;
        }
    }
    return bytes;
}

// A .npy file of format `version` with `header` as it stands.
std::string raw_npy(char version, const std::string& header) {
    return std::string("\x93NUMPY") + version + '\0' + static_cast<char>(header.size()) + '\0' +
           header;
}

struct Source {
    const char* name;
    const char* file;
    std::string bytes;
    std::string expected = {};  // the refusal's message
};

Grid expect_read(const Source& source) {
    const auto read = read_grid(source.file, source.bytes);
    if (const auto* refusal = std::get_if<platform::Refusal>(&read)) {
        ADD_FAILURE() << refusal->message;
        return {};
    }
    return std::get<GridFile>(read).grid;
}

TEST(GridFile, EveryLayoutOfAGridReadsTheSame) {
    const Source at_indices[] = {
        {"blank-separated", "g.txt", "# heights\n1.5 -2 nan 4\n0 0.25 7 8\n\n9 10 11 -12e3\n"},
        {"csv, quoted names, CRLF", "g.csv",
         "\"a\",\"b\",c,d\r\n1.5,-2,,4\r\n0, 0.25 ,7,8 # note\r\n9,10,11,-12e3\r\n"},
        {"csv, every line ending in a comma", "g.csv", "1.5,-2,,4,\n0,0.25,7,8,\n9,10,11,-12e3,\n"},
        {"named columns over an empty corner, named rows (pandas)", "g.csv",
         ",a,b,c,d\n0,1.5,-2,,4\n1,0,0.25,7,8\n2,9,10,11,-12e3\n"},
        {"names one short of named rows (R)", "g.txt",
         "\"V1\" \"V2\" \"V3\" \"V4\"\n\"0\" 1.5 -2 NA 4\n\"1\" 0 0.25 7 8\n\"2\" 9 10 11 -12e3\n"},
        {"tabs, signs, a dash", "g", "+1.5\t-2\t-\t4\n0\t.25\t7\t8\n9\t10\t11\t-1.2e4\n"},
        {"x y z blocks", "g.dat",
         "x y z\n0 0 1.5\n1 0 -2\n2 0 NaN\n3 0 4\n\n0 1 0\n1 1 0.25\n2 1 7\n3 1 8\n\n"
         "0 2 9\n1 2 10\n2 2 11\n3 2 -12e3\n"},
        {"x y z column by column", "g.xyz",
         "0 0 1.5\n0 1 0\n0 2 9\n1 0 -2\n1 1 .25\n1 2 10\n2 0 -\n2 1 7\n2 2 11\n3 0 4\n3 1 8\n"
         "3 2 -12e3\n"},
        {"x y z in any order", "g.txt",
         "2 1 7\n0 0 1.5\n3 2 -12e3\n1 0 -2\n2 0 nan\n3 0 4\n0 1 0\n1 1 0.25\n3 1 8\n0 2 9\n"
         "1 2 10\n2 2 11\n"},
        {"npy float64", "g.npy", npy("<f8", false, "(3, 4)", values, 4)},
        {"npy float32, Fortran order, big-endian", "g.bin", npy(">f4", true, "(3, 4)", values, 4)},
    };
    const Grid expected{{0, 1, 2, 3}, {0, 1, 2}, values};
    for (const Source& source : at_indices) {
        SCOPED_TRACE(source.name);
        EXPECT_EQ(expect_read(source), expected);
    }

    const Source with_nodes[] = {
        {"corner left out", "g.txt", " -1 0 2.5 10\n3 1.5 -2 nan 4\n2 0 .25 7 8\n-1 9 10 11 -12e3"},
        {"empty csv corner", "g.csv", ",-1,0,2.5,10\n3,1.5,-2,,4\n2,0,.25,7,8\n-1,9,10,11,-12e3\n"},
        {"text corner", "g.txt", "y\\x -1 0 2.5 10\n3 1.5 -2 nan 4\n2 0 .25 7 8\n-1 9 10 11 -12e3"},
        {"counted corner", "g.txt", "4 -1 0 2.5 10\n3 1.5 -2 nan 4\n2 0 .25 7 8\n-1 9 10 11 -12e3"},
        {"x y z, y decreasing", "g.txt",
         "-1 3 1.5\n0 3 -2\n2.5 3 nan\n10 3 4\n-1 2 0\n0 2 .25\n2.5 2 7\n10 2 8\n-1 -1 9\n"
         "0 -1 10\n2.5 -1 11\n10 -1 -12e3\n"},
    };
    const Grid uneven{{-1, 0, 2.5, 10}, {3, 2, -1}, values};
    for (const Source& source : with_nodes) {
        SCOPED_TRACE(source.name);
        EXPECT_EQ(expect_read(source), uneven);
    }

    // Three columns whose first two fill no grid are a matrix.
    EXPECT_EQ(expect_read({"three columns", "g.txt", "1 2 3\n4 5 6\n"}),
              (Grid{{0, 1, 2}, {0, 1}, {1, 2, 3, 4, 5, 6}}));
}

TEST(GridFile, BadFilesAreRefusedByFileAndLine) {
    const Source cases[] = {
        {"ragged", "g.txt", "1 2 3\n4 5 6\n7 8\n",
         "Cannot read \"g.txt\", line 3: this line has 2 values where the "
         "lines above have 3"},
        {"ragged csv", "g.csv", "a,b\n1,2\n3,4,5\n",
         "Cannot read \"g.csv\", line 3: this line has 3 values where the "
         "lines above have 2"},
        {"not a number", "g.txt", "1 2\n3 x4\n",
         "Cannot read \"g.txt\", line 2: \"x4\" is not a number"},
        {"too large", "g.txt", "1 2\n3 1e999\n",
         "Cannot read \"g.txt\", line 2: \"1e999\" is not a finite number"},
        {"x not one way", "g.txt", "  0 2 1\n0 1 2 3\n1 4 5 6\n",
         "Cannot read \"g.txt\", line 1: the x values of the first row are not increasing or "
         "decreasing"},
        {"y not one way", "g.csv", ",0,1\n0,1,2\n2,3,4\n1,5,6\n",
         "Cannot read \"g.csv\", line 4: the y values of the first column are not increasing or "
         "decreasing"},
        {"y missing", "g.csv", ",0,1\n0,1,2\n,3,4\n",
         "Cannot read \"g.csv\", line 3: a y value of the first column "
         "is missing"},
        {"one row", "g.txt", "1 2 3\n",
         "Cannot read \"g.txt\": the grid is 1 x 3 values (rows x columns); it needs at least 2 x "
         "2"},
        {"names only", "g.csv", "x,y\n", "Cannot read \"g.csv\": it holds no numbers"},
        {"a lone empty cell", "g.csv", "x,y\n\"\"\n",
         "Cannot read \"g.csv\": the grid is 0 x 0 values (rows x columns); it needs at least 2 x "
         "2"},
        {"all missing", "g.txt", "nan nan\n- NA\n",
         "Cannot read \"g.txt\": every value of the grid is missing"},
        {"x y z fill no grid", "g.xyz", "0 0 1\n1 0 2\n0 1 3\n",
         "Cannot read \"g.xyz\": the 3 x y z lines fill no grid: 2 values of x and 2 of y make 4 "
         "nodes, each "
         "given once"},
        {"x y z twice", "g.txt", "0 0 1\n1 0 2\n0 0 3\n1 1 4\n",
         "Cannot read \"g.txt\", line 3: the node x = 0, y = 0 is given twice (three columns are "
         "read as x y z lines; a matrix of three columns needs a first row of x values)"},
        {"semicolons", "g.csv", "x;y\n1;2\n3;4\n",
         "Cannot read \"g.csv\", line 2: \"1;2\" is not a number (values are separated by "
         "commas, blanks or tabs, not semicolons)"},
        {"three columns of repeated heights", "g.csv", "1,2,1\n1,2,1\n2,2,1\n",
         "Cannot read \"g.csv\": the 3 x y z lines fill no grid: 2 values of x and 1 of y make 2 "
         "nodes, each given once (three columns are read as x y z lines; a matrix of three "
         "columns needs a first row of x values)"},
        {"x y z without y", "g.xyz", "0 0 1\n1 0 2\n0 - 3\n1 1 4\n",
         "Cannot read \"g.xyz\", line 3: an x y z line needs a number for x and for y"},
        {"x y z of four", "g.xyz", "0 0 1 2\n1 0 2 3\n",
         "Cannot read \"g.xyz\", line 1: an x y z line holds three "
         "numbers: x, y and z"},
        {"binary", "g.txt", std::string("1 2\n\0\x01", 6),
         "Cannot read \"g.txt\": it is neither text nor a NumPy .npy file"},
        {"npy of integers", "g.npy", npy("<i8", false, "(2, 2)", {}, 2),
         "Cannot read \"g.npy\": it holds values of type \"<i8\"; toven reads float64 (\"<f8\") "
         "and "
         "float32 (\"<f4\")"},
        {"npy in 3 dimensions", "g.npy", npy("<f8", false, "(1, 2, 2)", {1, 2, 3, 4}, 2),
         "Cannot read \"g.npy\": it holds a 3-dimensional array; a grid is 2-dimensional"},
        {"npy cut short", "g.npy", npy("<f8", false, "(3, 2)", {1, 2, 3, 4}, 2),
         "Cannot read \"g.npy\": its header says 3 x 2 values, but it holds 32 bytes of values"},
        {"npy without shape", "g.npy", raw_npy(1, "{'descr': '<f8', 'fortran_order': False}"),
         "Cannot read \"g.npy\": its NumPy header cannot be read: it lacks 'descr', "
         "'fortran_order' or 'shape'"},
        {"npy of version 9", "g.npy", raw_npy(9, ""),
         "Cannot read \"g.npy\": its NumPy format version 9.0 is not one toven reads"},
        {"npy without magic", "g.npy", "1 2\n3 4\n",
         "Cannot read \"g.npy\": it does not start as a NumPy .npy file does"},
        {"npy empty, with a huge other side", "g.npy",
         npy("<f8", false, "(0, 100000000000000)", {}, 1),
         "Cannot read \"g.npy\": the grid is 0 x 100000000000000 values (rows x columns); it "
         "needs at least 2 x 2"},
        {"npy infinity", "g.npy", npy("<f8", false, "(2, 2)", {1, 2, HUGE_VAL, 4}, 2),
         "Cannot read \"g.npy\": the value at row 1, column 0 is not a finite number"},
    };
    for (const Source& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = read_grid(c.file, c.bytes);
        ASSERT_TRUE(std::holds_alternative<platform::Refusal>(read));
        EXPECT_EQ(std::get<platform::Refusal>(read).message, c.expected + ".");
    }
}

TEST(GridFile, FilesThatCannotBeReadAreRefused) {
    test_support::TempFolder folder("grid-file");
    const std::string huge = folder.file("huge.csv");
    std::ofstream(huge) << "1,2\n3,4\n";
    ASSERT_EQ(::truncate(huge.c_str(), max_grid_file_size + 1), 0);  // sparse: no disk used
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {folder.file("none.csv"), "No such file or directory"},
        {folder.path().string(), "it is a directory"},
        {huge, "it is larger than a grid file may be (256 MB)"},
    };
    for (const auto& c : cases) {
        const auto read = read_grid_file(c.path);
        ASSERT_TRUE(std::holds_alternative<platform::Refusal>(read));
        EXPECT_EQ(std::get<platform::Refusal>(read).message,
                  "Cannot read \"" + c.path + "\": " + c.expected + ".");
    }
}

// The examples of the manual: one grid, as a matrix with its nodes, as x y z lines, and
// (its values only) as a .npy array.
TEST(GridFile, ExamplesHoldOneGrid) {
    const std::filesystem::path examples =
        std::filesystem::path(std::getenv("TOVEN_SOURCE_DIR")) / "examples";
    const auto grid_of = [&](const char* name) {
        const auto read = read_grid_file((examples / name).string());
        EXPECT_TRUE(std::holds_alternative<GridFile>(read)) << name;
        return std::holds_alternative<GridFile>(read) ? std::get<GridFile>(read).grid : Grid{};
    };
    const Grid matrix = grid_of("terrain.csv");
    EXPECT_EQ(grid_of("terrain.xyz"), matrix);
    Grid values_only = grid_of("terrain.npy");
    values_only.x = matrix.x;
    values_only.y = matrix.y;
    EXPECT_EQ(values_only, matrix);
}

}  // namespace
}  // namespace toven
