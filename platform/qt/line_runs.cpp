#include "platform/qt/line_runs.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace toven::platform::qt {

namespace {

using Wide = std::int64_t;
// Products of two 32-bit spans with a step count need more than 64 bits.
__extension__ using Wider = __int128;

int sign(Wide value) {
    return (value > 0) - (value < 0);
}

// A run of pixels from `first` to `last` (inclusive) along x (or y when `along_y`), as a
// flat-capped line that stops one pixel past the run's far end.
QLine run_line(Wide first, Wide last, Wide across, bool along_y) {
    if (first > last) {
        std::swap(first, last);
    }
    const auto a = static_cast<int>(first);
    const auto b = static_cast<int>(last + 1);
    const auto c = static_cast<int>(across);
    return along_y ? QLine(c, a, c, b) : QLine(a, c, b, c);
}

// Bresenham's stepping: at step k (0 for the start point) the line has moved this many
// pixels across, rounding its exact position half a pixel toward the start.
Wide across_at(Wide k, Wide major, Wide minor) {
    const Wider numerator = Wider{2} * minor * k - major;
    return numerator <= 0 ? 0 : static_cast<Wide>((numerator + 2 * major - 1) / (2 * major));
}

// The stepping's decision term at step k, which stays within (2 minor - 2 major, 2 minor].
Wide error_at(Wide k, Wide major, Wide minor) {
    return static_cast<Wide>(Wider{2} * minor * (k + 1) - major -
                             Wider{2} * major * across_at(k, major, minor));
}

}  // namespace

// Steps one pixel at a time along the major axis, never on the end point, and only over the
// steps whose major coordinate lies within the bounds.
void append_line_runs(QPoint from, QPoint to, const QRect& bounds, std::vector<QLine>& runs) {
    const Wide dx = Wide{to.x()} - from.x();
    const Wide dy = Wide{to.y()} - from.y();
    const bool along_y = std::abs(dy) > std::abs(dx);
    const Wide major = along_y ? std::abs(dy) : std::abs(dx);
    const Wide minor = along_y ? std::abs(dx) : std::abs(dy);
    const int major_step = sign(along_y ? dy : dx);
    const int minor_step = sign(along_y ? dx : dy);
    const Wide start = along_y ? from.y() : from.x();
    const Wide low = along_y ? bounds.top() : bounds.left();
    const Wide high = along_y ? bounds.bottom() : bounds.right();

    Wide first_step = 0;
    Wide last_step = major - 1;
    if (major_step > 0) {
        first_step = std::max(first_step, low - start);
        last_step = std::min(last_step, high - start);
    } else if (major_step < 0) {
        first_step = std::max(first_step, start - high);
        last_step = std::min(last_step, start - low);
    }
    if (first_step > last_step) {
        return;
    }

    Wide position = start + first_step * major_step;
    Wide across =
        (along_y ? from.x() : from.y()) + minor_step * across_at(first_step, major, minor);
    Wide error = error_at(first_step, major, minor);
    Wide run_start = position;
    for (Wide step = first_step; step <= last_step; ++step) {
        if (step == last_step) {
            runs.push_back(run_line(run_start, position, across, along_y));
        } else if (error > 0) {
            runs.push_back(run_line(run_start, position, across, along_y));
            across += minor_step;
            error -= 2 * major;
            run_start = position + major_step;
        }
        error += 2 * minor;
        position += major_step;
    }
}

}  // namespace toven::platform::qt
