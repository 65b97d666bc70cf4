// A grid file among the arguments: it stands in for the formula and sets the mesh and the box
// from its nodes and heights, items after it still count, and a bad one changes nothing.
#include "app/files/grid_data.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/files/data_file.h"
#include "expr/item_table.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

struct GridArgumentCase {
    const char* label;
    const char* file;  // written as "grid.csv" unless `name` says otherwise
    const char* name;
    std::vector<std::string> after;  // items given after the file
    bool grid;                       // whether a grid stands in for the formula at the end
    std::map<std::string, std::string> items;
};

TEST(GridData, AGridArgumentSetsTheMeshAndTheBox) {
    const GridArgumentCase cases[] = {
        {"matrix",
         "1,2,3\n4,5,6\n",
         "grid.csv",
         {},
         true,
         {{"m", "2"},
          {"n", "1"},
          {"k", "1"},
          {"x1", "0"},
          {"x2", "2"},
          {"y1", "0"},
          {"y2", "1"},
          {"z1", "1"},
          {"z2", "6"}}},
        {"headers_and_a_hole",
         ",10,20,40.5\n5,1,2,3\n7,4,nan,-6\n",
         "grid.csv",
         {},
         true,
         {{"x1", "10"}, {"x2", "40.5"}, {"y1", "5"}, {"y2", "7"}, {"z1", "-6"}, {"z2", "4"}}},
        {"flat_grid_gets_a_height", "2 2\n2 2\n", "flat.txt", {}, true, {{"z1", "1"}, {"z2", "3"}}},
        {"items_after_override",
         "1,2\n3,4\n",
         "grid.csv",
         {"z2=10", "k=4"},
         true,
         {{"z2", "10"}, {"k", "4"}, {"m", "1"}}},
        {"formula_after_replaces_the_grid",
         "1,2\n3,4\n",
         "grid.csv",
         {"f(x,y)=x"},
         false,
         {{"m", "1"}}},
        {"data_file_is_no_grid", "# items\nm=7\n", "data.toven", {}, false, {{"m", "7"}}},
    };
    for (const GridArgumentCase& c : cases) {
        SCOPED_TRACE(c.label);
        test_support::TempFolder folder{"grid-data"};
        const std::string path = folder.file(c.name);
        std::ofstream(path, std::ios::binary) << c.file;
        AppData state;
        ASSERT_EQ(apply_argument(state, path), std::nullopt);
        for (const std::string& item : c.after) {
            ASSERT_EQ(apply_argument(state, item), std::nullopt);
        }
        EXPECT_EQ(state.grid.has_value(), c.grid);
        EXPECT_EQ(state.grid_path.empty(), !c.grid);
        for (const auto& [name, value] : c.items) {
            EXPECT_STREQ(record_value(state.sdata[record_number(name)]), value.c_str()) << name;
        }
    }
}

// A data file after the grid: its formula takes the grid's place, unless it names a grid of
// its own, as a file saved from a grid page does before its formula line.
TEST(GridData, AFormulaFromADataFileAfterTheGridReplacesIt) {
    const struct {
        const char* label;
        std::string data;  // "GRID" stands for the grid file's path
        bool grid;
    } cases[] = {
        {"formula", "f(x,y)=x*y\n", false},
        {"other items", "a=2\nm=3\n", true},
        {"saved from the grid", "grid=GRID\nf(x,y)=x*y\nm=3\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        test_support::TempFolder folder{"grid-data"};
        const std::string grid = folder.file("grid.csv");
        std::ofstream(grid) << "1,2\n3,4\n";
        std::string data = c.data;
        if (const std::size_t at = data.find("GRID"); at != std::string::npos) {
            data.replace(at, 4, grid);
        }
        const std::string data_path = folder.file("page.toven");
        std::ofstream(data_path) << data;
        AppData state;
        ASSERT_EQ(apply_argument(state, grid), std::nullopt);
        ASSERT_EQ(apply_argument(state, data_path), std::nullopt);
        EXPECT_EQ(state.grid.has_value(), c.grid);
        EXPECT_EQ(state.grid_path.empty(), !c.grid);
    }
}

TEST(GridData, AGridNameThatALineCannotHoldIsRefusedInASentence) {
    test_support::TempFolder folder{"grid-data"};
    const std::string path = folder.file("two\nlines.csv");
    std::ofstream(path) << "1,2\n3,4\n";
    AppData state;
    ASSERT_EQ(apply_argument(state, path), std::nullopt);
    EXPECT_EQ(data_text_refusal(state),
              platform::Refusal{"The grid file's name holds a line break, which a data file "
                                "cannot keep."});
}

TEST(GridData, ABadGridChangesNothing) {
    const char* bad[] = {"1,2\n3\n", "1,x\n3,4\n", "1,2\n"};
    for (const char* file : bad) {
        SCOPED_TRACE(file);
        test_support::TempFolder folder{"grid-data"};
        const std::string path = folder.file("bad.csv");
        std::ofstream(path, std::ios::binary) << file;
        AppData state;
        const auto refusal = apply_argument(state, path);
        ASSERT_NE(refusal, std::nullopt);
        EXPECT_NE(refusal->message.find(path), std::string::npos) << refusal->message;
        EXPECT_FALSE(state.grid.has_value());
        EXPECT_STREQ(record_value(state.sdata[record_number("m")]), "40");
    }
}

}  // namespace
}  // namespace toven
