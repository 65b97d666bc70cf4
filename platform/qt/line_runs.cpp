#include "platform/qt/line_runs.h"

namespace toven::platform::qt {

// A flat-capped line stops one pixel past the run's far end.
void append_line_runs(QPoint from, QPoint to, const QRect& bounds, std::vector<QLine>& runs) {
    for_each_line_run(from, to, bounds, [&](const LineRun& run) {
        const auto a = static_cast<int>(run.first);
        const auto b = static_cast<int>(run.last + 1);
        const auto c = static_cast<int>(run.across);
        runs.push_back(run.along_y ? QLine(c, a, c, b) : QLine(a, c, b, c));
    });
}

}  // namespace toven::platform::qt
