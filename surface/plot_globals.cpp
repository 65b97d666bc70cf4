#include "surface/plot_globals.h"

namespace toven {

GraphParameters graph_parameters;
int readout_ready = 0;

}  // namespace toven
