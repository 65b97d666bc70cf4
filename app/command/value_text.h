// A value as --eval writes it: exactly what printf("%.17g") writes, and "nan" for every NaN
// whatever its sign bit. Values from about 1e-16 to 1e17, where f's values mostly lie, take an
// exact road of 128-bit integers that costs about 60 % of std::to_chars; the rest take to_chars.
#pragma once

#include <cstddef>

namespace toven {

// The most characters format_value writes ("-2.2250738585072014e-308" and room to spare).
inline constexpr std::size_t max_value_text = 32;

// Writes `value` at `out`, which holds max_value_text characters; returns the end of what was
// written (no terminator).
char* format_value(double value, char* out);

}  // namespace toven
