// The one reader of the numbers a person gives on the command line and in data files: item
// values and option values alike. A decimal number is an optional sign (+ or -), digits with
// an optional point, and an optional exponent (2.5, -1e-3, +2, .5, 7.); a whole number is an
// optional sign and digits; a length is a decimal number and its unit (8cm, 2.5 mm, 200pt).
// Blanks (spaces and tabs) around either are ignored.
#pragma once

#include <string_view>

namespace toven {

enum class NumberFault {
    none,
    form,   // not one number of the asked kind
    range,  // a number of that kind, but beyond the asked range (or that of a double)
};

// One finite decimal number into `value`.
NumberFault read_decimal(std::string_view text, double& value);

// One whole number from `low` to `high` into `value`.
NumberFault read_whole(std::string_view text, int low, int high, int& value);

// One length: a decimal number followed by a unit, pt (TeX's point, 72.27 to an inch), cm or
// mm, into `points` of 1/72 inch; above zero and at most `most_points`.
NumberFault read_length(std::string_view text, double most_points, double& points);

}  // namespace toven
