// The numbers of one plot, converted from the sdata table's text at the start of every plot
// with the C library's atof and atoi rules. Nothing is validated.
#pragma once

#include <string>

#include "expr/data_table.h"

namespace toven {

struct GraphParameters {
    double x1 = 0;
    double x2 = 0;
    double y1 = 0;
    double y2 = 0;
    double z1 = 0;
    double z2 = 0;
    int n = 0;
    int m = 0;
    int k = 0;
    double tilt = 0;
    int pc = 0;
    int fc = 0;
    int ax = 0;
    std::string title;
};

extern GraphParameters graph_parameters;

// Fills graph_parameters from records 1 to 14 of the graph data table; a missing record
// gives 0 (or an empty title).
void load_graph_parameters(const DataTable& table);

}  // namespace toven
