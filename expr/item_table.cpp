#include "expr/item_table.h"

#include <algorithm>
#include <string>

#include "platform/programmer_error.h"

namespace toven {

namespace {

// Graph data names are padded with blanks to this width, so that their values line up.
constexpr std::size_t sdata_name_width = 9;

}  // namespace

std::string padded_name(const ItemSpec& item) {
    std::string padded(item.name);
    if (item.table == TableName::sdata && padded.size() < sdata_name_width) {
        padded.resize(sdata_name_width, ' ');
    }
    return padded;
}

std::string_view header_name(TableName table) {
    return table == TableName::fdata ? "fdata  " : "sdata    ";
}

std::span<const ItemSpec> items_of(TableName table) {
    const auto first = std::ranges::find(item_specs, table, &ItemSpec::table);
    const auto last = std::find_if(first, item_specs.end(),
                                   [table](const ItemSpec& item) { return item.table != table; });
    return {first, last};
}

const ItemSpec* find_item_spec(std::string_view name) {
    const auto found = std::ranges::find(item_specs, name, &ItemSpec::name);
    return found == item_specs.end() ? nullptr : &*found;
}

int record_number(const ItemSpec& item) {
    return static_cast<int>(&item - items_of(item.table).data()) + 1;
}

int record_number(std::string_view name) {
    const ItemSpec* item = find_item_spec(name);
    TOVEN_EXPECT(item != nullptr, "the item table names every item the program reads");
    return record_number(*item);
}

DataTable default_table(TableName table) {
    const std::span<const ItemSpec> items = items_of(table);
    DataTable defaults;
    defaults.records.reserve(items.size() + 1);
    const std::string count = std::to_string(std::ranges::count(items, true, &ItemSpec::in_window));
    defaults.records.push_back(make_record(std::string(header_name(table)).c_str(), count));
    for (const ItemSpec& item : items) {
        defaults.records.push_back(make_record(padded_name(item).c_str(), item.default_value));
    }
    return defaults;
}

std::string_view trim_blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace toven
