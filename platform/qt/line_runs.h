// The pixels of a one-pixel line as the old LineTo chose them: from the start point toward
// the end point, which is left out, whichever way the line runs. Qt's own aliased lines
// leave out the end with the larger coordinate instead, so a line drawn leftward or upward
// would lose its start and gain its end.
#pragma once

#include <QLine>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace toven::platform::qt {

// A straight run of a line's pixels along its major axis: from `first` to `last` (inclusive,
// first <= last) along x, or along y when `along_y`, at `across` on the other axis.
struct LineRun {
    std::int64_t first;
    std::int64_t last;
    std::int64_t across;
    bool along_y;
};

namespace line_stepping {

using Wide = std::int64_t;
// Products of two 32-bit spans with a step count need more than 64 bits.
__extension__ using Wider = __int128;

inline int sign(Wide value) {
    return (value > 0) - (value < 0);
}

// Bresenham's stepping: at step k (0 for the start point) the line has moved this many
// pixels across, rounding its exact position half a pixel toward the start.
inline Wide across_at(Wide k, Wide major, Wide minor) {
    const Wider numerator = Wider{2} * minor * k - major;
    return numerator <= 0 ? 0 : static_cast<Wide>((numerator + 2 * major - 1) / (2 * major));
}

// The stepping's decision term at step k, which stays within (2 minor - 2 major, 2 minor].
inline Wide error_at(Wide k, Wide major, Wide minor) {
    return static_cast<Wide>(Wider{2} * minor * (k + 1) - major -
                             Wider{2} * major * across_at(k, major, minor));
}

inline LineRun run(Wide from, Wide to, Wide across, bool along_y) {
    return {std::min(from, to), std::max(from, to), across, along_y};
}

}  // namespace line_stepping

// Calls visit(LineRun) for each run of the line's pixels whose major coordinate lies within
// `bounds` (the rest cannot show); the runs may lie beside the bounds across. Steps one pixel
// at a time along the major axis, never on the end point, and only over the steps within the
// bounds, so the work is bounded by their size however far away the line's ends are.
template <typename Visit>
void for_each_line_run(QPoint from, QPoint to, const QRect& bounds, Visit&& visit) {
    using namespace line_stepping;
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
            visit(run(run_start, position, across, along_y));
        } else if (error > 0) {
            visit(run(run_start, position, across, along_y));
            across += minor_step;
            error -= 2 * major;
            run_start = position + major_step;
        }
        error += 2 * minor;
        position += major_step;
    }
}

// The runs as QLines that a one-pixel flat-capped pen draws as exactly those pixels.
void append_line_runs(QPoint from, QPoint to, const QRect& bounds, std::vector<QLine>& runs);

}  // namespace toven::platform::qt
