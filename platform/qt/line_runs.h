// The pixels of a one-pixel line as the old LineTo chose them: from the start point toward
// the end point, which is left out, whichever way the line runs. Qt's own aliased lines
// leave out the end with the larger coordinate instead, so a line drawn leftward or upward
// would lose its start and gain its end.
#pragma once

#include <QLine>
#include <QRect>
#include <vector>

namespace toven::platform::qt {

// Appends the line's pixels that lie within `bounds` (the rest cannot show) as runs along its
// major axis, each a QLine that a one-pixel flat-capped pen draws as exactly that run. The
// work is bounded by the size of `bounds`, however far away the line's ends are.
void append_line_runs(QPoint from, QPoint to, const QRect& bounds, std::vector<QLine>& runs);

}  // namespace toven::platform::qt
