#include "expr/data_table.h"

#include <cstring>
#include <string>

#include "expr/c_number.h"

namespace toven {

namespace {

// Copies as much of `text` as `field` holds, always terminated.
template <std::size_t N>
void copy_cut(char (&field)[N], const char* text) {
    std::size_t length = std::strlen(text);
    if (length > N - 1) {
        length = N - 1;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
}

void store_value(DataRecord& record, const char* value) {
    copy_cut(record.value, value);
    if (std::strlen(value) > sizeof record.value - 1) {
        record.long_value = value;
    } else {
        record.long_value.clear();
    }
}

}  // namespace

DataRecord make_record(const char* name, const char* value) {
    DataRecord record;
    copy_cut(record.name, name);
    store_value(record, value);
    std::string line = std::string(record.name) + " = " + value;
    copy_cut(record.line, line.c_str());
    return record;
}

void set_line(DataRecord& record, const char* text) {
    copy_cut(record.line, text);
    std::size_t prefix = std::strlen(record.name) + 3;
    store_value(record, std::strlen(text) >= prefix ? text + prefix : "");
}

const char* record_value(const DataRecord& record) {
    return record.long_value.empty() ? record.value : record.long_value.c_str();
}

int item_count(const DataTable& table) {
    return table.records.empty() ? 0 : c_atoi(table.records.front().value);
}

}  // namespace toven
