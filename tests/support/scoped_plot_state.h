// A guard that keeps what a test's plots leave in the plot driver's globals inside the test:
// it saves graph_parameters and readout_ready when made and puts them back when it goes.
#pragma once

#include "surface/plot_globals.h"

namespace toven::test_support {

class ScopedPlotState {
  public:
    ScopedPlotState() = default;
    ~ScopedPlotState() {
        graph_parameters = graph_parameters_;
        readout_ready = readout_ready_;
    }
    ScopedPlotState(const ScopedPlotState&) = delete;
    ScopedPlotState& operator=(const ScopedPlotState&) = delete;

  private:
    GraphParameters graph_parameters_ = graph_parameters;
    bool readout_ready_ = readout_ready;
};

}  // namespace toven::test_support
