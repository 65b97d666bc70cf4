// Tables of text records that hold everything the user can edit. A record's `line` is its
// name, " = " and its value; record 0 of a table is a header whose value is the item count.
// Write records through make_record and set_line only, so that the whole value stays readable
// through record_value.
#pragma once

#include <string>
#include <vector>

namespace toven {

struct DataRecord {
    char name[40] = {};
    char value[60] = {};  // the value as typed, cut at 59 characters
    char line[120] = {};  // the display line, cut at 119 characters
    // The whole value when it is longer than `value` holds (a long formula), else empty.
    std::string long_value;
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
DataRecord make_record(const char* name, const char* value);

// Stores an edited display line: the value is whatever follows the first strlen(name) + 3
// characters of `text`, or empty when `text` is shorter; the name never changes.
void set_line(DataRecord& record, const char* text);

// The record's whole value, also when it is longer than the `value` field.
const char* record_value(const DataRecord& record);

// The item count of the table: atoi of the header's value.
int item_count(const DataTable& table);

}  // namespace toven
