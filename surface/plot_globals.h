// The plot's two globals, in one place. Both live for the whole run and are read and written
// only on the message loop's thread.
#pragma once

#include "surface/graph_parameters.h"

namespace toven {

// The numbers of the current plot, zero at start. Owned by the plot driver: draw_plot fills
// them from the graph data table (load_graph_parameters) first thing in every run, readouts
// included; the command line fills them the same way before it draws or evaluates.
extern GraphParameters graph_parameters;

// True while the mouse readout may draw, false at start. The plot driver sets it at the end of
// every screen plot and clears it when a screen plot is refused; the shell clears it when a child
// window is resized and when the plot window is destroyed. A print leaves it as it was.
extern bool readout_ready;

}  // namespace toven
