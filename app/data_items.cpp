#include "app/data_items.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "app/data_box.h"
#include "app/user_tables.h"
#include "expr/c_number.h"

namespace toven {

namespace {

enum class ItemKind { number, count, text, formula };

struct Item {
    DataRecord* record = nullptr;
    ItemKind kind = ItemKind::number;
};

// The items counted in whole numbers; the title is text; the rest of sdata are numbers.
constexpr std::string_view counting_items[] = {"n", "m", "k", "pc", "fc", "ax"};

ItemKind sdata_kind(std::string_view name) {
    for (std::string_view counting : counting_items) {
        if (name == counting) {
            return ItemKind::count;
        }
    }
    return name == "title" ? ItemKind::text : ItemKind::number;
}

// The item of fdata or sdata whose trimmed name is `name`; its record is null when there is
// none. fdata's items are the parameters and, last, the formula.
Item find_item(std::string_view name) {
    for (DataTable* table : {&fdata, &sdata}) {
        const int count = item_count(*table);
        for (int i = 1; i <= count && i < table->size(); ++i) {
            if (trim_blanks((*table)[i].name) == name) {
                const ItemKind fdata_kind = i == count ? ItemKind::formula : ItemKind::number;
                return {&(*table)[i], table == &fdata ? fdata_kind : sdata_kind(name)};
            }
        }
    }
    return {};
}

std::string item_names() {
    std::string names;
    for (const DataTable* table : {&fdata, &sdata}) {
        const int count = item_count(*table);
        for (int i = 1; i <= count && i < table->size(); ++i) {
            names += ' ';
            names += trim_blanks((*table)[i].name);
        }
    }
    return names;
}

std::optional<platform::Refusal> number_refusal(std::string_view name, std::string_view typed) {
    const std::string number(trim_blanks(typed));
    if (!is_decimal_number(number)) {
        return platform::Refusal{std::string(name) +
                                 " needs one decimal number, such as 2.5, -1e-3 or .5, not '" +
                                 std::string(typed) + "'"};
    }
    if (!std::isfinite(c_atof(number.c_str()))) {
        return platform::Refusal{std::string(name) + " needs a number within the range of " +
                                 "a double, not '" + std::string(typed) + "'"};
    }
    return std::nullopt;
}

std::optional<platform::Refusal> count_refusal(std::string_view name, std::string_view typed) {
    std::string_view number = trim_blanks(typed);
    // from_chars reads a minus sign but not a plus sign.
    if (number.starts_with('+') && !number.substr(1).starts_with('-')) {
        number.remove_prefix(1);
    }
    const char* end = number.data() + number.size();
    int value = 0;
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error == std::errc::result_out_of_range && stop == end) {
        return platform::Refusal{std::string(name) + " needs a whole number from " +
                                 std::to_string(INT_MIN) + " to " + std::to_string(INT_MAX) +
                                 ", not '" + std::string(typed) + "'"};
    }
    if (error != std::errc() || stop != end) {
        return platform::Refusal{std::string(name) + " needs a whole number, such as 20, not '" +
                                 std::string(typed) + "'"};
    }
    return std::nullopt;
}

}  // namespace

std::string_view trim_blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<platform::Refusal> apply_item(std::string_view name, std::string_view value) {
    name = trim_blanks(name);
    const Item item = name.empty() ? Item{} : find_item(name);
    if (item.record == nullptr) {
        return platform::Refusal{"unknown name '" + std::string(name) + "'; the names are" +
                                 item_names()};
    }
    const bool is_number = item.kind == ItemKind::number || item.kind == ItemKind::count;
    if (auto refusal = item.kind == ItemKind::number  ? number_refusal(name, value)
                       : item.kind == ItemKind::count ? count_refusal(name, value)
                                                      : std::nullopt) {
        return refusal;
    }
    const std::string_view stored = is_number ? trim_blanks(value) : value;
    const std::size_t prefix = std::strlen(item.record->name) + 3;
    const std::size_t longest = static_cast<std::size_t>(longest_edit_line);
    if (item.kind != ItemKind::formula && prefix + stored.size() > longest) {
        return platform::Refusal{
            std::string(name) + " takes at most " + std::to_string(longest - prefix) +
            " characters, as a data window's line holds " + std::to_string(longest) +
            " with its name; this one has " + std::to_string(stored.size())};
    }
    std::string line = std::string(item.record->name) + " = ";
    line += stored;
    set_line(*item.record, line.c_str());
    return std::nullopt;
}

}  // namespace toven
