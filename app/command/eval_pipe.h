// toven --eval FORMULA -: f(X, Y) for every point a stream gives, with one compiled formula.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/command/value_text.h"

namespace toven {

class FunctionXY;

// A line longer than this (its CR not counted) is reported, not held: memory stays flat
// whatever the input.
inline constexpr std::size_t max_point_line = 4096;

// `text`, blanks (space, tab, CR) around it ignored, read whole as one number by the "C"
// rules of strtod; nothing when it is not exactly one number.
std::optional<double> read_coordinate(std::string_view text);

struct Tabulation {
    long bad_lines = 0;
    int read_error = 0;   // errno of a failed read of `in`, else 0
    int write_error = 0;  // errno of a failed write to `out`, else 0
};

// Reads "X Y" lines from the descriptor `in` (blanks or a comma between, "#" starts a comment,
// blank lines skipped; numbers as read_coordinate reads them) and writes f(X, Y) to the
// descriptor `out` a line each with format_value, in order. Values are written before every
// read that may wait, so a process at the other end of a pipe gets each answer at once. A
// line that is not two numbers goes to `errors` with its line number and is counted; a NUL
// byte is one more bad character. The first read or write that fails ends the run, its cause
// returned and not yet reported.
Tabulation tabulate(FunctionXY& function, int in, int out, std::FILE* errors);

}  // namespace toven
