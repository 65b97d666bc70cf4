// Data files: the data items as text, one NAME=VALUE line each, as the command line takes them
// ("#" starts a comment line, blank lines are skipped; the extension is .toven). A picture
// that toven wrote holds the same text (platform/picture_data.h) and reads as a data file.
// Items are set through apply_assignment, so a line follows the command line's rules; a file
// is set whole or not at all.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_data.h"
#include "platform/refusal.h"

namespace toven {

// A data file is a few lines and a picture a few megabytes; a larger file is refused by its
// size before it is read, so that a huge file named by mistake costs no memory at all.
inline constexpr std::size_t max_data_file_bytes = std::size_t{256} << 20;

// A data file holds a few dozen items; this many lines, comments and blank lines included,
// are no data file, and a file that has more is refused at the line past them.
inline constexpr int max_data_file_lines = 10000;

// One NAME=VALUE line, a view into its file's text, and where it stands in its file (from 1).
struct DataItem {
    std::string_view text;
    int line = 0;
};

struct DataFile {
    std::string path;
    std::string text;                          // the data text, of the file or of its picture
    std::optional<platform::Refusal> refusal;  // why the file cannot be read; text empty then
};

// The items of a data file's text, in order, without its comment and blank lines. Each line
// is seen once and none is copied, so that a huge file of short lines costs no more memory
// than its text.
class DataLines {
  public:
    explicit DataLines(std::string_view text);
    // The next item, or false at the end of the text or past max_data_file_lines.
    bool next(DataItem& item);
    // Whether next() stopped at max_data_file_lines with more text to read.
    bool too_many_lines() const { return too_many_lines_; }

  private:
    std::string_view rest_;
    int line_ = 0;
    bool too_many_lines_ = false;
};

// Reads a data file, or the data text of a picture that toven wrote. A file that cannot be
// read, a picture that holds no toven data, or a file that is not text is refused by name.
DataFile read_data_file(const std::string& path);

// Sets the file's items in order, one line at a time. At a bad item, or past
// max_data_file_lines, the tables are put back as they were, and the refusal names the file
// and the item's line.
std::optional<platform::Refusal> apply_data_file(AppData& state, const DataFile& file);

// A command-line argument: one that names an existing file is read and set as a data file,
// any other is one NAME=VALUE item.
std::optional<platform::Refusal> apply_argument(AppData& state, std::string_view argument);

// Sets the item of "NAME=VALUE" as apply_item does; on failure returns the refusal for the
// person, and changes nothing.
std::optional<platform::Refusal> apply_assignment(AppData& state,
                                                  std::string_view name_equals_value);

// Both tables as their defaults and then the file's items, all or nothing: on a refusal the
// tables are as they were. A file that holds no items is refused.
std::optional<platform::Refusal> replace_tables(AppData& state, const DataFile& file);

// What Data > Open does with the file at `path`: a grid file takes the formula's place and
// keeps the other items; a data file or a picture replaces both tables, as replace_tables
// does. All or nothing.
std::optional<platform::Refusal> open_file(AppData& state, const std::string& path);

// The items of both tables as a data file's text, in table order, each value whole; a number
// item as the plot reads it, so that the text reads back to the same page.
std::string data_text(const AppData& state);

// Why data_text() cannot be read back as it was: a value that holds a line break or another
// control character, bytes that are not UTF-8 text, or a number item that the plot reads as
// no finite number. None when it can.
std::optional<platform::Refusal> data_text_refusal(const AppData& state);

// Writes data_text(state) to `path` through a SafeFile; the message for the person on failure.
std::optional<platform::Refusal> write_data_file(const AppData& state, const std::string& path);

}  // namespace toven
