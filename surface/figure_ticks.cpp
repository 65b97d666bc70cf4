#include "surface/figure_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace toven {

namespace {

// More decimals than this say nothing a double can tell apart.
constexpr int max_decimals = 15;

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
    ticks.decimals =
        std::clamp(static_cast<int>(-std::floor(std::log10(ticks.step) + 1e-9)), 0, max_decimals);
    return ticks;
}

std::string tick_text(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    // A value that rounds to zero from below is written "-0.0": it is zero.
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) {
        result.erase(0, 1);
    }
    return result;
}

}  // namespace toven
