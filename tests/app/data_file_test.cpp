// Data files read and written in the program itself: the round trip, a bad line that sets
// nothing, and files that are no data files.
#include "app/files/data_file.h"
#include "app/window/app_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/user_tables.h"
#include "expr/item_table.h"
#include "platform/picture_data.h"
#include "tests/support/test_files.h"

namespace toven {
namespace {

using test_support::read_file;

class DataFileTest : public testing::Test {
  protected:
    // The data file operations on this test's own state.
    std::optional<platform::Refusal> apply_assignment(std::string_view item) {
        return toven::apply_assignment(state, item);
    }
    std::optional<platform::Refusal> apply_argument(std::string_view argument) {
        return toven::apply_argument(state, argument);
    }
    std::optional<platform::Refusal> replace_tables(const DataFile& file) {
        return toven::replace_tables(state, file);
    }
    std::optional<platform::Refusal> data_text_refusal() const {
        return toven::data_text_refusal(state);
    }

    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string path = folder.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    AppState state;
    DataTable& fdata = state.fdata;
    DataTable& sdata = state.sdata;
    test_support::TempFolder folder{"data-file"};
};

TEST_F(DataFileTest, CommentAndBlankLinesAreSkippedAndLinesKeepTheirNumbers) {
    DataLines lines("\xEF\xBB\xBF# head\n\na=2\r\n   # indented\n\t\ntitle= #1 \n");
    std::vector<DataItem> items;
    for (DataItem item; lines.next(item);) {
        items.push_back(item);
    }
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "a=2");
    EXPECT_EQ(items[0].line, 3);
    EXPECT_EQ(items[1].text, "title= #1 ");
    EXPECT_EQ(items[1].line, 6);
    EXPECT_FALSE(lines.too_many_lines());
}

std::string lines_of(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line;
    }
    return text;
}

// A file of more lines than any data file has is refused, whatever its lines hold, and
// sets nothing of what its first lines set.
TEST_F(DataFileTest, AFileOfTooManyLinesSetsNothing) {
    const struct {
        const char* name;
        std::string text;
        bool refused;
    } cases[] = {
        {"items", "a=2\n" + lines_of("b=5\n", max_data_file_lines), true},
        {"comments", "a=2\n" + lines_of("#\n", max_data_file_lines - 1) + "b=5", true},
        {"just_enough", "a=2\n" + lines_of("\n", max_data_file_lines - 2) + "b=5\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        load_fdata_defaults(fdata);
        const std::string path = write(std::string(c.name) + ".toven", c.text);
        const auto refusal = apply_argument(path);
        EXPECT_EQ(refusal.has_value(), c.refused);
        EXPECT_STREQ(record_value(fdata[1]), c.refused ? "3" : "2");
        EXPECT_STREQ(record_value(fdata[2]), c.refused ? "3" : "5");
        if (refusal) {
            EXPECT_EQ(refusal->message, "The file \"" + path + "\" has more than " +
                                            std::to_string(max_data_file_lines) +
                                            " lines, and a data file holds one item a line.");
        }
    }
}

// Every value comes back whole: blanks, "=" and "#" in it, a formula longer than the value
// field, an empty title.
TEST_F(DataFileTest, WhatIsWrittenReadsBackAsTheSameTables) {
    const std::string long_formula = "x" + std::string(300, '+') + "1";
    const std::vector<std::string> items = {"a= 2.5 ", "f(x,y)=x*y  + " + long_formula, "tilt=40",
                                            "title=a=b # c", "pc=9"};
    for (const std::string& item : items) {
        ASSERT_EQ(apply_assignment(item), std::nullopt) << item;
    }
    const DataTable fdata_written = fdata;
    const DataTable sdata_written = sdata;
    const std::string path = folder.file("saved.toven");
    ASSERT_EQ(data_text_refusal(), std::nullopt);
    ASSERT_EQ(write_data_file(state, path), std::nullopt);
    EXPECT_EQ(read_file(path), data_text(state));

    load_fdata_defaults(fdata);
    ASSERT_EQ(replace_tables(read_data_file(path)), std::nullopt);
    for (int i = 0; i < fdata.size(); ++i) {
        EXPECT_EQ(fdata[i].line, fdata_written[i].line);
        EXPECT_STREQ(record_value(fdata[i]), record_value(fdata_written[i]));
    }
    for (int i = 0; i < sdata.size(); ++i) {
        EXPECT_EQ(sdata[i].line, sdata_written[i].line);
    }
}

TEST_F(DataFileTest, ABadLineIsRefusedWithItsNumberAndNothingIsSet) {
    const std::string path = write("bad.toven", "a=7\n# the box\n\ntilt=50\nq=1\nb=9\n");
    ASSERT_EQ(apply_argument("tilt=20"), std::nullopt);
    const auto refusal = apply_argument(path);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message.rfind("Unknown name \"q\"", 0), 0u) << refusal->message;
    EXPECT_TRUE(refusal->message.ends_with(" This is line 5 of \"" + path + "\"."));
    EXPECT_STREQ(record_value(fdata[1]), "3");
    EXPECT_STREQ(record_value(sdata[10]), "20");
    EXPECT_EQ(replace_tables(read_data_file(path)), refusal);
    EXPECT_STREQ(record_value(sdata[10]), "20");
}

// Values that a line or the pictures' XML could not give back as they were.
TEST_F(DataFileTest, AValueThatALineCannotHoldIsNotWritten) {
    const struct {
        const char* item;
        const char* reason;
    } cases[] = {{"title=a\nb", "a line break"},
                 {"title=a\x01", "a control character"},
                 {"title=\xE9t\xE9", "bytes that are not UTF-8 text"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ASSERT_EQ(apply_assignment(c.item), std::nullopt);
        const auto refusal = data_text_refusal();
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, std::string("The value of title holds ") + c.reason +
                                        ", which a data file cannot keep.");
    }
    ASSERT_EQ(apply_assignment("title=\t\xC3\xA9t\xC3\xA9 \xE2\x88\x9E"), std::nullopt);
    EXPECT_EQ(data_text_refusal(), std::nullopt);
}

// A data window takes any typing; a number item is written as the number the plot reads.
TEST_F(DataFileTest, ANumberItemIsWrittenAsThePlotReadsIt) {
    const struct {
        const char* name;
        const char* typed_value;
        const char* written;
    } cases[] = {
        {"a", "", "a=0"},    {"a", " 0x10", "a=16"},    {"a", "2.50 ", "a=2.50"},
        {"a", "2,5", "a=2"}, {"z1", "-.5e1z", "z1=-5"}, {"n", " 20 rows", "n=20"},
        {"n", "", "n=0"},    {"n", "3e9", "n=3"},       {"n", "99999999999", "n=2147483647"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        const ItemSpec& item = *find_item_spec(c.name);
        DataRecord& record = (item.table == TableName::fdata ? fdata : sdata)[record_number(item)];
        set_line(record, (std::string(record.name) + " = " + c.typed_value).c_str());
        ASSERT_EQ(data_text_refusal(), std::nullopt);
        EXPECT_NE(data_text(state).find(std::string("\n") + c.written + "\n"), std::string::npos)
            << data_text(state);
    }
    set_line(sdata[1], (std::string(sdata[1].name) + " = 1e999").c_str());
    EXPECT_EQ(data_text_refusal(),
              platform::Refusal{"The value of x1, \"1e999\", is no finite number, which a data "
                                "file cannot keep."});
}

TEST_F(DataFileTest, FilesThatAreNoDataFilesAreRefused) {
    const std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) +
                            std::string(17, '\0') + std::string("\0\0\0\0IEND", 8);
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"foreign.png", png,
         "this PNG picture was not written by toven, so it holds no toven data"},
        {"foreign.svg", "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>",
         "this SVG picture was not written by toven, so it holds no toven data"},
        {"foreign.pdf", "%PDF-1.4\n%%EOF\n",
         "this PDF picture was not written by toven, so it holds no toven data"},
        {"photo.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10),
         "it is neither a data file nor a picture that toven wrote"},
        {"bom.svg", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<svg/>",
         "this SVG picture was not written by toven, so it holds no toven data"},
        {"sweep.gif", std::string("GIF89a\x01\0\x01\0\0\0\0;", 14),
         "it is a GIF picture, and GIF pictures carry no data: toven keeps its data in the PNG, "
         "SVG and PDF pictures it writes"},
        {"solid.stl",
         std::string("binary STL") + std::string(70, ' ') + std::string("\1\0\0\0", 4) +
             std::string(50, '\0'),
         "it is an STL solid, and STL files carry no data: toven keeps its data in the PNG, SVG "
         "and PDF pictures it writes"},
        // A NUL would cut the formula to f(x,y)=x, and the time to read a block grows with it.
        {"nul.svg",
         "<svg><metadata><toven:data xmlns:toven=\"urn:toven:data\">f(x,y)=x&#0;+1000"
         "</toven:data></metadata></svg>",
         "the toven data in this SVG picture holds a NUL character, which no data file holds"},
        {"nul.png", platform::png_with_text(png, std::string("f(x,y)=x\0+1000", 15)),
         "the toven data in this PNG picture holds a NUL character, which no data file holds"},
        {"huge.pdf", "%PDF-1.4\n<toven:data>" + std::string(1024 * 1024 + 1, '&') + "</toven:data>",
         "the toven data in this PDF picture is larger than 1 MiB, which no data of toven's is"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = write(c.name, c.bytes);
        EXPECT_EQ(apply_argument(path),
                  platform::Refusal{"Cannot read \"" + path + "\": " + c.reason + "."});
    }
    EXPECT_EQ(
        apply_argument(folder.path().string()),
        platform::Refusal{"Cannot read \"" + folder.path().string() + "\": it is a directory."});
    // A FIFO with no writer would keep the program waiting.
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(apply_argument(fifo),
              platform::Refusal{"Cannot read \"" + fifo +
                                "\": it is a device, a FIFO or another special file."});
    EXPECT_STREQ(record_value(fdata[1]), "3");
}

// An argument without "=", or with a "/" before it, names a file: one that cannot be read says
// why rather than asking for NAME=VALUE. Echoed text shows control characters as escapes.
TEST_F(DataFileTest, AnArgumentThatNamesAFileSaysWhyItCannotBeRead) {
    const std::string loop = folder.file("loop.toven");
    const std::string dangling = folder.file("dangling.toven");
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    ASSERT_EQ(::symlink(folder.file("gone").c_str(), dangling.c_str()), 0);
    const std::string missing = folder.file("dir") + "/a=1.toven";
    const struct {
        std::string argument;
        std::string message;
    } cases[] = {
        {"x.toven",
         "Cannot read \"x.toven\": No such file or directory, and an item is given "
         "as NAME=VALUE."},
        {dangling, "Cannot read \"" + dangling + "\": it is a link to a file that does not exist."},
        {loop, "Cannot read \"" + loop + "\": Too many levels of symbolic links."},
        {missing, "Cannot read \"" + missing + "\": No such file or directory."},
        {"f(x,y)=x/y/0", ""},
        {"\x1B[2J=1", "Unknown name \"\\x1b[2J\"; the names are"},
        {"title=" + std::string(200, 'z') + "\x07", "The item title takes at most 106 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        const auto refusal = apply_argument(c.argument);
        EXPECT_EQ(refusal ? refusal->message.substr(0, c.message.size()) : "", c.message);
    }
    const auto unknown = apply_argument(std::string(200, 'q') + "=1");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->message.rfind("Unknown name \"" + std::string(77, 'q') + "...\";", 0), 0u);
}

// The picture's prologue may be longer than any fixed look ahead, after a byte order mark.
TEST_F(DataFileTest, AnSvgWithALongPrologueIsReadAsAPicture) {
    const std::string svg = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- " + std::string(9000, '-') +
                            " -->\n<svg xmlns=\"http://www.w3.org/2000/svg\"></svg>\n";
    const std::string path = write("long.svg", platform::svg_with_text(svg, "a=5\n"));
    EXPECT_EQ(apply_argument(path), std::nullopt);
    EXPECT_STREQ(record_value(fdata[1]), "5");
}

}  // namespace
}  // namespace toven
