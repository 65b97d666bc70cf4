// The pixels of a one-pixel line as the old LineTo chose them: from the start point toward
// the end point, which is left out, whichever way the line runs. Qt's own aliased lines
// leave out the end with the larger coordinate instead, so a line drawn leftward or upward
// would lose its start and gain its end.
#pragma once

#include <QLine>
#include <vector>

namespace toven::platform::qt {

// Appends the line's pixels as runs along its major axis, each a QLine that a one-pixel
// flat-capped pen draws as exactly that run.
void append_line_runs(QPoint from, QPoint to, std::vector<QLine>& runs);

}  // namespace toven::platform::qt
