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

}  // namespace toven
