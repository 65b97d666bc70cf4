#include "platform/qt/line_runs.h"

#include <cstdlib>
#include <utility>

namespace toven::platform::qt {

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

// A run of pixels from `first` to `last` (inclusive) along x (or y when `along_y`), as a
// flat-capped line that stops one pixel past the run's far end.
QLine run_line(int first, int last, int across, bool along_y) {
    if (first > last) {
        std::swap(first, last);
    }
    return along_y ? QLine(across, first, across, last + 1)
                   : QLine(first, across, last + 1, across);
}

}  // namespace

// Bresenham's stepping along the major axis, one pixel a step, the end point not stepped on.
void append_line_runs(QPoint from, QPoint to, std::vector<QLine>& runs) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool along_y = std::abs(dy) > std::abs(dx);
    const int major = along_y ? std::abs(dy) : std::abs(dx);
    const int minor = along_y ? std::abs(dx) : std::abs(dy);
    const int major_step = sign(along_y ? dy : dx);
    const int minor_step = sign(along_y ? dx : dy);
    int position = along_y ? from.y() : from.x();
    int across = along_y ? from.x() : from.y();
    int run_start = position;
    int error = 2 * minor - major;
    for (int step = 0; step < major; ++step) {
        if (step + 1 == major) {
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
