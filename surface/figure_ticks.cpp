#include "surface/figure_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace toven {

namespace {

// More decimals than this say nothing a double can tell apart.
constexpr int max_decimals = 15;
// From this size on, a value's whole digits are not all its own: 1e23 is written in full as
// 99999999999999991611392.
constexpr double largest_whole_text = 1e15;

// The power of ten of a value's leading digit.
int leading_power(double value) {
    return static_cast<int>(std::floor(std::log10(std::abs(value)) + 1e-9));
}

// The count of multiples of `step` within [low, high], allowing for rounding at the ends.
double multiples_within(double low, double high, double step) {
    const double slack = step * 1e-9;
    return std::floor((high + slack) / step) - std::ceil((low - slack) / step) + 1;
}

}  // namespace

AxisTicks nice_ticks(double from, double to, int most) {
    const double low = std::min(from, to);
    const double high = std::max(from, to);
    AxisTicks ticks;
    if (most < 2 || !std::isfinite(low) || !std::isfinite(high) || !(high > low)) {
        return ticks;
    }
    const double magnitude = std::pow(10.0, std::floor(std::log10((high - low) / most)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0, 20.0}) {
        ticks.step = factor * magnitude;
        if (multiples_within(low, high, ticks.step) <= most) {
            break;
        }
    }
    if (!std::isfinite(ticks.step) || ticks.step <= 0) {
        return {};
    }
    const double slack = ticks.step * 1e-9;
    const double first = std::ceil((low - slack) / ticks.step);
    const double last = std::floor((high + slack) / ticks.step);
    // Counted, not stepped: near 1e16 steps of one no longer change a double.
    const double count = std::min(last - first + 1, static_cast<double>(most));
    for (int i = 0; i < count; ++i) {
        ticks.values.push_back((first + i) * ticks.step);
    }
    const int decimals = -leading_power(ticks.step);
    ticks.decimals = std::clamp(decimals, 0, max_decimals);
    ticks.exponent = decimals > max_decimals ||
                     std::any_of(ticks.values.begin(), ticks.values.end(), [](double value) {
                         return std::abs(value) >= largest_whole_text;
                     });
    return ticks;
}

std::string tick_text(const AxisTicks& ticks, double value) {
    char text[64];
    if (ticks.exponent) {
        const int digits =
            value == 0 ? 0 : std::max(0, leading_power(value) - leading_power(ticks.step));
        std::snprintf(text, sizeof text, value == 0 ? "%.*f" : "%.*e", digits, value);
    } else {
        std::snprintf(text, sizeof text, "%.*f", ticks.decimals, value);
    }
    std::string result = text;
    // A value that rounds to zero from below is written "-0.0": it is zero.
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) {
        result.erase(0, 1);
    }
    return result;
}

}  // namespace toven
