// Data tables for the tests of the layers below the application, which own no tables of their
// own: the two tables as the program starts, and items set by name as the command line sets
// them.
#pragma once

#include <string>
#include <string_view>

#include "expr/data_table.h"
#include "expr/item_table.h"

namespace toven::test_support {

inline DataTable default_fdata() {
    return default_table(TableName::fdata);
}

inline DataTable default_sdata() {
    return default_table(TableName::sdata);
}

// Sets the item of `table` whose name, blanks trimmed, is `name` to `value`, through its line
// as a data box does; false when the table has no such item.
inline bool set_item(DataTable& table, std::string_view name, std::string_view value) {
    for (int i = 1; i < table.size(); ++i) {
        std::string_view item = table[i].name;
        item = item.substr(0, item.find_last_not_of(' ') + 1);
        if (item == name) {
            set_line(table[i], std::string(table[i].name) + " = " + std::string(value));
            return true;
        }
    }
    return false;
}

}  // namespace toven::test_support
