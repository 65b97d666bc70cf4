// The user's data: the two data tables and the numbers of the last plot. A command line needs
// only these; the window program's AppState (app_state.h) adds its windows to them. Made with
// the tables at their defaults.
#pragma once

#include <optional>
#include <string>

#include "expr/data_table.h"
#include "surface/graph_parameters.h"
#include "surface/grid.h"

namespace toven {

struct AppData {
    AppData();
    AppData(const AppData&) = delete;
    AppData& operator=(const AppData&) = delete;

    DataTable fdata;  // the parameters a..e and, last, the formula f(x,y)
    DataTable sdata;  // the graph data

    // The numbers of the graph data as the last plot loaded them.
    GraphParameters graph_parameters;

    // The measured heights that stand in for the formula while a grid file is loaded, and
    // that file's path; none while the formula is drawn.
    std::optional<Grid> grid;
    std::string grid_path;
};

}  // namespace toven
