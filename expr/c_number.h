// Number conversions of the C library in the "C" locale, whatever locale the window system
// has set for the process: a formula's "2.5" must never read as 2.
#pragma once

namespace toven {

// strtod in the "C" locale; `end` (may be null) receives the first character not converted.
double c_strtod(const char* text, const char** end);

// atof in the "C" locale: leading blanks skipped, the longest numeric prefix, 0 if none.
double c_atof(const char* text);

// atoi, with a number beyond the range of int clamped to its nearest end rather than
// left undefined.
int c_atoi(const char* text);

}  // namespace toven
