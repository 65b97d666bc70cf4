// Tables of text records that hold everything the user can edit. A record's `line` is its
// name, " = " and its value; record 0 of a table is a header whose value is the item count.
// A record keeps its line whole; the value is the part of the line after the name's prefix.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace toven {

struct DataRecord {
    char name[40] = {};  // cut at 39 characters
    std::string line;    // the display line, whole

    // What follows the first strlen(name) + 3 characters of the line; empty when the line is
    // shorter than that.
    std::string_view value() const;
};

struct DataTable {
    std::vector<DataRecord> records;  // record 0 is the header

    DataRecord& operator[](int index) { return records[static_cast<std::size_t>(index)]; }
    const DataRecord& operator[](int index) const {
        return records[static_cast<std::size_t>(index)];
    }
    int size() const { return static_cast<int>(records.size()); }
};

// A record of `name` and `value` whose line is name, " = " and value.
DataRecord make_record(const char* name, std::string_view value);

// Stores an edited display line: the value is whatever follows the first strlen(name) + 3
// characters of `text`, or empty when `text` is shorter; the name never changes.
void set_line(DataRecord& record, std::string_view text);

// The record's value as a terminated string (the end of its line), for the C library's
// conversions; valid while the line is unchanged.
const char* record_value(const DataRecord& record);

// The item count of the table: atoi of the header's value.
int item_count(const DataTable& table);

// The function data's items are its parameters and, last, the formula: the formula's record
// number, and the number of parameters before it.
int formula_record(const DataTable& fdata);
int parameter_count(const DataTable& fdata);

}  // namespace toven
