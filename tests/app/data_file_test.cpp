// Data files read and written in the program itself: the round trip, a bad line that sets
// nothing, and files that are no data files.
#include "app/files/data_file.h"
#include "app/window/app_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/user_tables.h"
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
    EXPECT_EQ(refusal->message.rfind(path + ":5: unknown name 'q'", 0), 0u) << refusal->message;
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
        EXPECT_EQ(refusal->message, std::string("the value of title holds ") + c.reason +
                                        ", which a data file cannot keep");
    }
    ASSERT_EQ(apply_assignment("title=\t\xC3\xA9t\xC3\xA9 \xE2\x88\x9E"), std::nullopt);
    EXPECT_EQ(data_text_refusal(), std::nullopt);
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
                  platform::Refusal{"cannot read '" + path + "': " + c.reason});
    }
    EXPECT_EQ(apply_argument(folder.path().string()),
              platform::Refusal{"cannot read '" + folder.path().string() + "': it is a directory"});
    // A FIFO with no writer would keep the program waiting.
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(apply_argument(fifo),
              platform::Refusal{"cannot read '" + fifo +
                                "': it is a device, a FIFO or another special file"});
    EXPECT_STREQ(record_value(fdata[1]), "3");
}

}  // namespace
}  // namespace toven
