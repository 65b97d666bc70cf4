#include "app/user_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/scoped_tables.h"
#include "tests/support/test_tables.h"

namespace toven {
namespace {

class UserTablesTest : public testing::Test {
  protected:
    test_support::ScopedTables tables{fdata, sdata};
};

TEST_F(UserTablesTest, FdataDefaults) {
    ASSERT_EQ(fdata.size(), 7);
    EXPECT_EQ(item_count(fdata), 6);
    EXPECT_STREQ(fdata[0].line, "fdata   = 6");
    const char* lines[] = {"a = 3", "b = 3", "c = 1",
                           "d = 1", "e = 1", "f(x,y) = sin(|x|^a  + |y|^b)"};
    for (int i = 1; i <= 6; ++i) {
        EXPECT_STREQ(fdata[i].line, lines[i - 1]);
    }
    EXPECT_EQ(std::strlen(fdata[6].line), 28u);
}

TEST_F(UserTablesTest, SdataDefaults) {
    ASSERT_EQ(sdata.size(), 15);
    EXPECT_EQ(item_count(sdata), 14);
    const char* lines[] = {
        "sdata     = 14",   "x1        = -1",  "x2        = 1",  "y1        = -1", "y2        = 1",
        "z1        = -0.2", "z2        = 1.2", "n         = 20", "m         = 40", "k         = 20",
        "tilt      = 15",   "pc        = 13",  "fc        = 0",  "ax        = 0",  "title     = "};
    for (int i = 0; i <= 14; ++i) {
        EXPECT_STREQ(sdata[i].line, lines[i]);
        EXPECT_EQ(std::strlen(sdata[i].name), 9u);
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
        EXPECT_STREQ(record.value, c.value) << c.label;
        EXPECT_STREQ(record_value(record), c.value) << c.label;
        EXPECT_STREQ(record.line, c.text) << c.label;
        EXPECT_STREQ(record.name, c.name) << c.label;
    }
}

TEST_F(UserTablesTest, ALongValueIsKeptWhole) {
    std::string formula(109, 'x');
    std::string line = "f(x,y) = " + formula;
    ASSERT_EQ(line.size(), 118u);
    set_line(fdata[6], line.c_str());
    EXPECT_EQ(line, fdata[6].line);
    EXPECT_EQ(formula, record_value(fdata[6]));
    EXPECT_EQ(std::strlen(fdata[6].value), 59u);

    set_line(fdata[6], "f(x,y) = x");
    EXPECT_STREQ(record_value(fdata[6]), "x");
}

TEST_F(UserTablesTest, TooLongTextIsCutInTheFixedFieldsOnly) {
    std::string value(300, '7');
    DataRecord record = make_record(std::string(50, 'n').c_str(), value.c_str());
    EXPECT_EQ(std::strlen(record.name), 39u);
    EXPECT_EQ(std::strlen(record.line), 119u);
    EXPECT_EQ(value, record_value(record));
}

TEST_F(UserTablesTest, LoadersRestoreTheDefaults) {
    set_line(fdata[1], "a = 9");
    load_fdata_defaults();
    EXPECT_STREQ(fdata[1].line, "a = 3");
}

// The tests of the lower layers plot from tables of their own: the program's defaults.
TEST_F(UserTablesTest, TheLowerLayersTestsStartFromTheseDefaults) {
    load_fdata_defaults();
    load_sdata_defaults();
    const auto lines = [](const DataTable& table) {
        std::vector<std::string> all;
        for (const DataRecord& record : table.records) {
            all.push_back(std::string(record.name) + "|" + record_value(record) + "|" +
                          record.line);
        }
        return all;
    };
    EXPECT_EQ(lines(test_support::default_fdata()), lines(fdata));
    EXPECT_EQ(lines(test_support::default_sdata()), lines(sdata));
}

}  // namespace
}  // namespace toven
