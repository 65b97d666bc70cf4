#include "app/number_text.h"

#include <charconv>
#include <cmath>
#include <string>

#include "expr/c_number.h"
#include "expr/item_table.h"

namespace toven {

NumberFault read_decimal(std::string_view text, double& value) {
    const std::string number(trim_blanks(text));
    if (!is_decimal_number(number)) {
        return NumberFault::form;
    }
    const double read = c_atof(number.c_str());
    if (!std::isfinite(read)) {
        return NumberFault::range;
    }
    value = read;
    return NumberFault::none;
}

NumberFault read_whole(std::string_view text, int low, int high, int& value) {
    std::string_view number = trim_blanks(text);
    // from_chars reads a minus sign but not a plus sign.
    if (number.starts_with('+') && !number.substr(1).starts_with('-')) {
        number.remove_prefix(1);
    }
    const char* end = number.data() + number.size();
    long long read = 0;
    const auto [stop, error] = std::from_chars(number.data(), end, read);
    if (stop != end || number.empty() ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
        return NumberFault::form;
    }
    if (error == std::errc::result_out_of_range || read < low || read > high) {
        return NumberFault::range;
    }
    value = static_cast<int>(read);
    return NumberFault::none;
}

NumberFault read_length(std::string_view text, double most_points, double& points) {
    struct Unit {
        std::string_view name;
        double points;  // of 1/72 inch in one unit
    };
    static constexpr Unit units[] = {{"pt", 72 / 72.27}, {"cm", 72 / 2.54}, {"mm", 7.2 / 2.54}};
    const std::string_view length = trim_blanks(text);
    for (const Unit& unit : units) {
        if (!length.ends_with(unit.name)) {
            continue;
        }
        double number = 0;
        if (const NumberFault fault =
                read_decimal(length.substr(0, length.size() - unit.name.size()), number);
            fault != NumberFault::none) {
            return fault;
        }
        const double read = number * unit.points;
        if (!(read > 0 && read <= most_points)) {
            return NumberFault::range;
        }
        points = read;
        return NumberFault::none;
    }
    return NumberFault::form;
}

}  // namespace toven
