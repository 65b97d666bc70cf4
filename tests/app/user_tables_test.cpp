#include "app/user_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace toven {
namespace {

class UserTablesTest : public testing::Test {
  protected:
    DataTable fdata;
    DataTable sdata;
};

struct DefaultLine {
    const DataTable* table;
    int record;
    const char* line;
};

TEST_F(UserTablesTest, DefaultLines) {
    load_fdata_defaults(fdata);
    load_sdata_defaults(sdata);
    ASSERT_EQ(fdata.size(), 7);
    ASSERT_EQ(sdata.size(), 17);  // the header counts the 14 lines the window shows
    const DefaultLine cases[] = {
        {&fdata, 0, "fdata   = 6"},
        {&fdata, 1, "a = 3"},
        {&fdata, 5, "e = 1"},
        {&fdata, 6, "f(x,y) = sin(|x|^a  + |y|^b)"},
        {&sdata, 0, "sdata     = 14"},
        {&sdata, 1, "x1        = -1"},
        {&sdata, 5, "z1        = -0.2"},
        {&sdata, 8, "m         = 40"},
        {&sdata, 10, "tilt      = 15"},
        {&sdata, 13, "ax        = 0"},
        {&sdata, 14, "title     = "},
        {&sdata, 15, "curves    = both"},
        {&sdata, 16, "turn      = 0"},
    };
    for (const DefaultLine& c : cases) {
        EXPECT_EQ((*c.table)[c.record].line, c.line) << c.line;
    }
    for (const DataRecord& record : sdata.records) {
        EXPECT_EQ(std::strlen(record.name), 9u) << record.line;
    }
}

struct SetLineCase {
    const char* label;
    const char* name;
    const char* text;
    const char* value;
};

TEST_F(UserTablesTest, SetLineSkipsThePrefixByLengthAlone) {
    const SetLineCase cases[] = {
        {"own_prefix", "x1       ", "x1        = 2.5", "2.5"},
        {"shorter_than_prefix", "x1       ", "x1 = 2", ""},
        {"usual", "a", "a = 5.5", "5.5"},
        {"blank_removed", "a", "a=5", ""},
        {"other_name", "a", "b = 7", "7"},
        {"exactly_the_prefix", "a", "a = ", ""},
        {"empty", "a", "", ""},
    };
    for (const SetLineCase& c : cases) {
        DataRecord record = make_record(c.name, "old");
        set_line(record, c.text);
        EXPECT_EQ(record.value(), c.value) << c.label;
        EXPECT_STREQ(record_value(record), c.value) << c.label;
        EXPECT_EQ(record.line, c.text) << c.label;
        EXPECT_STREQ(record.name, c.name) << c.label;
    }
}

// A formula longer than a data window's line, as the command line may set it, is kept whole
// in the line and the value alike; only the name has a fixed width.
TEST_F(UserTablesTest, LongTextIsKeptWholeButTheName) {
    const std::string value(300, '7');
    const DataRecord record = make_record(std::string(50, 'n').c_str(), value);
    EXPECT_EQ(std::strlen(record.name), 39u);
    EXPECT_EQ(record.line, std::string(39, 'n') + " = " + value);
    EXPECT_EQ(record.value(), value);
}

TEST_F(UserTablesTest, LoadersRestoreTheDefaults) {
    load_fdata_defaults(fdata);
    set_line(fdata[1], "a = 9");
    load_fdata_defaults(fdata);
    EXPECT_EQ(fdata[1].line, "a = 3");
}

}  // namespace
}  // namespace toven
