// Data tables for the tests of the layers below the application, which own no tables of their
// own: the two tables as the program starts, and items set by name as the command line sets
// them. The application's tests check that these defaults are the program's.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "expr/data_table.h"

namespace toven::test_support {

inline DataTable table_of(std::initializer_list<std::pair<const char*, const char*>> items) {
    DataTable table;
    for (const auto& [name, value] : items) {
        table.records.push_back(make_record(name, value));
    }
    return table;
}

inline DataTable default_fdata() {
    return table_of({{"fdata  ", "6"},
                     {"a", "3"},
                     {"b", "3"},
                     {"c", "1"},
                     {"d", "1"},
                     {"e", "1"},
                     {"f(x,y)", "sin(|x|^a  + |y|^b)"}});
}

inline DataTable default_sdata() {
    return table_of({{"sdata    ", "14"},
                     {"x1       ", "-1"},
                     {"x2       ", "1"},
                     {"y1       ", "-1"},
                     {"y2       ", "1"},
                     {"z1       ", "-0.2"},
                     {"z2       ", "1.2"},
                     {"n        ", "20"},
                     {"m        ", "40"},
                     {"k        ", "20"},
                     {"tilt     ", "15"},
                     {"pc       ", "13"},
                     {"fc       ", "0"},
                     {"ax       ", "0"},
                     {"title    ", ""}});
}

// Sets the item of `table` whose name, blanks trimmed, is `name` to `value`, through its line
// as a data box does; false when the table has no such item.
inline bool set_item(DataTable& table, std::string_view name, std::string_view value) {
    for (int i = 1; i <= item_count(table) && i < table.size(); ++i) {
        std::string_view item = table[i].name;
        item = item.substr(0, item.find_last_not_of(' ') + 1);
        if (item == name) {
            set_line(table[i], (std::string(table[i].name) + " = " + std::string(value)).c_str());
            return true;
        }
    }
    return false;
}

}  // namespace toven::test_support
