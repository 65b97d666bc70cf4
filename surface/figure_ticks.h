// The numbers along one axis of a figure: "nice" steps of 1, 2 or 5 times a power of ten,
// and their text with as many decimals as the step needs, or with an exponent where decimals
// would show digits that the values do not hold.
#pragma once

#include <string>
#include <vector>

namespace toven {

struct AxisTicks {
    double step = 0;
    int decimals = 0;            // of every value's text
    bool exponent = false;       // the text is "2e+23", not a number of 24 digits
    std::vector<double> values;  // increasing, within the axis's range
};

// The multiples of the nice step that lie between `from` and `to` (in either order), the
// step chosen as the smallest that gives at most `most` of them. None for an empty or
// non-finite range, or `most` below 2.
AxisTicks nice_ticks(double from, double to, int most);

// A tick's value of `ticks` as text, never "-0".
std::string tick_text(const AxisTicks& ticks, double value);

}  // namespace toven
