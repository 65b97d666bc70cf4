// The plot's two globals, in one place. Both live for the whole run and are read and written
// only on the message loop's thread.
#pragma once

#include "surface/graph_parameters.h"

namespace toven {

// The numbers of the current plot, zero at start. Owned by the plot driver: draw_plot fills
// them from the graph data table (load_graph_parameters) first thing in every run, readouts
// included; the command line fills them the same way before it draws or evaluates.
extern GraphParameters graph_parameters;

// 1 while the mouse readout may draw, 0 at start. The plot driver sets it to 1 at the end of
// every screen plot and to 0 when a screen plot is refused; the shell clears it when a child
// window is resized and when the plot window is destroyed. A print leaves it as it was.
extern int readout_ready;

}  // namespace toven
