#include "expr/data_table.h"

#include <cstring>

#include "expr/c_number.h"

namespace toven {

std::string_view DataRecord::value() const {
    return record_value(*this);
}

DataRecord make_record(const char* name, std::string_view value) {
    DataRecord record;
    std::strncpy(record.name, name, sizeof record.name - 1);
    record.line = std::string(record.name) + " = ";
    record.line += value;
    return record;
}

void set_line(DataRecord& record, std::string_view text) {
    record.line = text;
}

const char* record_value(const DataRecord& record) {
    const std::size_t prefix = std::strlen(record.name) + 3;
    return record.line.size() >= prefix ? record.line.c_str() + prefix : "";
}

int item_count(const DataTable& table) {
    return table.records.empty() ? 0 : c_atoi(record_value(table.records.front()));
}

int formula_record(const DataTable& fdata) {
    return item_count(fdata);
}

int parameter_count(const DataTable& fdata) {
    return formula_record(fdata) - 1;
}

}  // namespace toven
