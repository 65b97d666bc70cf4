// The data items, all of them, in one table: which data table holds each, in what order, what
// it holds, its default, and whether a sweep may move it. The two data tables, the graph
// numbers, the command line's items, a sweep and the help text are all made from it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "expr/data_table.h"

namespace toven {

enum class TableName { fdata, sdata };

// What a value holds: one decimal number, a whole number within int, any text, or the formula.
enum class ItemKind { number, counting, text, formula };

struct ItemSpec {
    TableName table;
    std::string_view name;  // as the command line gives it; the table pads it
    std::string_view default_value;
    ItemKind kind;
    bool sweepable;  // a sweep may move it from frame to frame
    bool on_page;    // listed in the page's data panel
    // Shown, and edited, in its table's window, whose lines are fixed. An item that is not
    // follows those that are: it is given on the command line, in data files, in pictures'
    // kept data and to sweeps.
    bool in_window = true;
};

// In table order: each table's items are its records 1, 2, ... in the order they stand here.
// The function data's parameters come first and its formula last.
inline constexpr std::array item_specs{
    ItemSpec{TableName::fdata, "a", "3", ItemKind::number, true, true},
    ItemSpec{TableName::fdata, "b", "3", ItemKind::number, true, true},
    ItemSpec{TableName::fdata, "c", "1", ItemKind::number, true, true},
    ItemSpec{TableName::fdata, "d", "1", ItemKind::number, true, true},
    ItemSpec{TableName::fdata, "e", "1", ItemKind::number, true, true},
    ItemSpec{TableName::fdata, "f(x,y)", "sin(|x|^a  + |y|^b)", ItemKind::formula, false, false},
    ItemSpec{TableName::sdata, "x1", "-1", ItemKind::number, true, true},
    ItemSpec{TableName::sdata, "x2", "1", ItemKind::number, true, true},
    ItemSpec{TableName::sdata, "y1", "-1", ItemKind::number, true, true},
    ItemSpec{TableName::sdata, "y2", "1", ItemKind::number, true, true},
    ItemSpec{TableName::sdata, "z1", "-0.2", ItemKind::number, true, true},
    ItemSpec{TableName::sdata, "z2", "1.2", ItemKind::number, true, true},
    ItemSpec{TableName::sdata, "n", "20", ItemKind::counting, true, true},
    ItemSpec{TableName::sdata, "m", "40", ItemKind::counting, true, true},
    ItemSpec{TableName::sdata, "k", "20", ItemKind::counting, true, false},
    ItemSpec{TableName::sdata, "tilt", "15", ItemKind::number, true, false},
    ItemSpec{TableName::sdata, "pc", "13", ItemKind::counting, true, false},
    ItemSpec{TableName::sdata, "fc", "0", ItemKind::counting, true, false},
    ItemSpec{TableName::sdata, "ax", "0", ItemKind::counting, true, false},
    ItemSpec{TableName::sdata, "title", "", ItemKind::text, false, false},
    ItemSpec{TableName::sdata, "curves", "both", ItemKind::text, false, false, false},
    ItemSpec{TableName::sdata, "turn", "0", ItemKind::number, true, false, false},
};

// The header's name of a table: "fdata" and two blanks; "sdata" padded as its items are.
std::string_view header_name(TableName table);

// The items of one table, in order.
std::span<const ItemSpec> items_of(TableName table);

// The item called `name` (no blanks), if there is one.
const ItemSpec* find_item_spec(std::string_view name);

// The item's name as its record holds it, padded as its table pads names.
std::string padded_name(const ItemSpec& item);

// The record number of an item in its table.
int record_number(const ItemSpec& item);
// The record number of the item called `name`, which must exist.
int record_number(std::string_view name);

// The table with its header and every item at its default. The header counts the items its
// window shows; the others' records follow theirs.
DataTable default_table(TableName table);

// `text` without the blanks (spaces and tabs) at either end.
std::string_view trim_blanks(std::string_view text);

}  // namespace toven
