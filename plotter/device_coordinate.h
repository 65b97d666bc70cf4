// Turning computed positions into device coordinates. A device coordinate is always an
// integer within a safe range, whatever the double holds (NaN, infinity, a huge value), and
// a ratio with a zero denominator is 0, so degenerate sizes never stop the drawing.
#pragma once

#include <algorithm>
#include <cmath>

namespace toven {

// The largest device coordinate passed to a device, either side of zero. It keeps every
// double-to-int conversion defined and leaves a device room to add and subtract coordinates
// without overflow. A point farther off (only a world value far outside its window) is moved
// onto the limit, which may turn a line drawn to it; no page is anywhere near this size.
inline constexpr double device_coordinate_limit = 134217728.0;  // 2^27

// Truncates toward zero; NaN gives 0, values beyond the limit give the limit. Inline: every
// sample of a surface passes through it twice.
inline int truncate_to_device(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -device_coordinate_limit, device_coordinate_limit));
}

// numerator / denominator, or 0 where the denominator is 0 (an empty client area, a world
// window of no width or height).
inline double quotient(double numerator, double denominator) {
    return denominator == 0.0 ? 0.0 : numerator / denominator;
}

}  // namespace toven
