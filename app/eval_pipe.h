// toven --eval FORMULA -: f(X, Y) for every point a stream gives, with one compiled formula.
#pragma once

#include <cstdio>

namespace toven {

class FunctionXY;

// A line longer than this is reported, not held: memory stays flat whatever the input.
inline constexpr std::size_t max_point_line = 4096;

// Reads "X Y" lines from `in` (blanks or a comma between, "#" starts a comment, blank lines
// skipped; numbers by the "C" rules) and writes f(X, Y) to `out` a line each with %.17g, in
// order. A line that is not two numbers goes to `errors` with its line number. Stops early
// when `out` fails. Returns the number of bad lines.
long tabulate(FunctionXY& function, std::FILE* in, std::FILE* out, std::FILE* errors);

}  // namespace toven
