// Number conversions of the C library in the "C" locale, whatever locale the window system
// has set for the process: a formula's "2.5" must never read as 2.
#pragma once

#include <string_view>

namespace toven {

// strtod in the "C" locale; `end` (may be null) receives the first character not converted.
double c_strtod(const char* text, const char** end);

// atof in the "C" locale: leading blanks skipped, the longest numeric prefix, 0 if none.
double c_atof(const char* text);

// atoi, with a number beyond the range of int clamped to its nearest end rather than
// left undefined.
int c_atoi(const char* text);

// True when `text` is exactly one decimal number as a person writes it: an optional sign,
// digits with at most one decimal point among or before or after them, and an optional
// exponent ("2.5", "-1e-3", "+2", ".5"). No blanks, hexadecimal, inf or nan.
bool is_decimal_number(std::string_view text);

}  // namespace toven
