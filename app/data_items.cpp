#include "app/data_items.h"

#include <climits>
#include <string>

#include "app/number_text.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

std::string item_names() {
    std::string names;
    for (const ItemSpec& item : item_specs) {
        names += ' ';
        names += item.name;
    }
    return names;
}

std::optional<platform::Refusal> number_refusal(std::string_view name, std::string_view typed) {
    double value = 0;
    switch (read_decimal(typed, value)) {
        case NumberFault::form:
            return platform::Refusal{"The item " + std::string(name) +
                                     " needs one decimal number, such as 2.5, -1e-3 or .5, not " +
                                     platform::quoted(typed) + "."};
        case NumberFault::range:
            return platform::Refusal{"The item " + std::string(name) +
                                     " needs a number within the range of a double, not " +
                                     platform::quoted(typed) + "."};
        case NumberFault::none:
            break;
    }
    return std::nullopt;
}

std::optional<platform::Refusal> count_refusal(std::string_view name, std::string_view typed) {
    int value = 0;
    switch (read_whole(typed, INT_MIN, INT_MAX, value)) {
        case NumberFault::form:
            return platform::Refusal{"The item " + std::string(name) +
                                     " needs a whole number, such as 20, not " +
                                     platform::quoted(typed) + "."};
        case NumberFault::range:
            return platform::Refusal{"The item " + std::string(name) +
                                     " needs a whole number from " + std::to_string(INT_MIN) +
                                     " to " + std::to_string(INT_MAX) + ", not " +
                                     platform::quoted(typed) + "."};
        case NumberFault::none:
            break;
    }
    return std::nullopt;
}

// Numbers are stored without the blanks around them; text and formulas as given.
std::string_view stored_value(const ItemSpec& item, std::string_view value) {
    const bool is_number = item.kind == ItemKind::number || item.kind == ItemKind::counting;
    return is_number ? trim_blanks(value) : value;
}

}  // namespace

std::optional<platform::Refusal> apply_item(AppData& state, std::string_view name,
                                            std::string_view value) {
    const ItemSpec* item = nullptr;
    if (auto refusal = check_item(name, value, item)) {
        return refusal;
    }
    DataTable& table = item->table == TableName::fdata ? state.fdata : state.sdata;
    DataRecord& record = table[record_number(*item)];
    set_line(record, std::string(record.name) + " = " + std::string(stored_value(*item, value)));
    return std::nullopt;
}

std::optional<platform::Refusal> check_item(std::string_view name, std::string_view value,
                                            const ItemSpec*& item) {
    name = trim_blanks(name);
    item = find_item_spec(name);
    if (item == nullptr) {
        return platform::Refusal{"Unknown name " + platform::quoted(name) + "; the names are" +
                                 item_names() + "."};
    }
    if (auto refusal = item->kind == ItemKind::number     ? number_refusal(name, value)
                       : item->kind == ItemKind::counting ? count_refusal(name, value)
                                                          : std::nullopt) {
        return refusal;
    }
    const std::string_view stored = stored_value(*item, value);
    const std::size_t prefix = padded_name(*item).size() + 3;
    const std::size_t longest = static_cast<std::size_t>(longest_edit_line);
    if (item->kind != ItemKind::formula && prefix + stored.size() > longest) {
        return platform::Refusal{
            "The item " + std::string(name) + " takes at most " + std::to_string(longest - prefix) +
            " bytes, as a data window's line holds " + std::to_string(longest) +
            " with its name (a character outside ASCII takes two to " + "four); this one has " +
            std::to_string(stored.size()) + "."};
    }
    return std::nullopt;
}

}  // namespace toven
