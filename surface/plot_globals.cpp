#include "surface/plot_globals.h"

namespace toven {

GraphParameters graph_parameters;
bool readout_ready = false;

}  // namespace toven
