#include "surface/graph_parameters.h"

#include "expr/c_number.h"
#include "surface/plot_globals.h"

namespace toven {

namespace {

const char* value_of(const DataTable& table, int record) {
    return record < table.size() ? record_value(table[record]) : "";
}

double as_double(const DataTable& table, int record) {
    return c_atof(value_of(table, record));
}

int as_int(const DataTable& table, int record) {
    return c_atoi(value_of(table, record));
}

}  // namespace

void load_graph_parameters(const DataTable& table) {
    GraphParameters& p = graph_parameters;
    p.x1 = as_double(table, 1);
    p.x2 = as_double(table, 2);
    p.y1 = as_double(table, 3);
    p.y2 = as_double(table, 4);
    p.z1 = as_double(table, 5);
    p.z2 = as_double(table, 6);
    p.n = as_int(table, 7);
    p.m = as_int(table, 8);
    p.k = as_int(table, 9);
    p.tilt = as_double(table, 10);
    p.pc = as_int(table, 11);
    p.fc = as_int(table, 12);
    p.ax = as_int(table, 13);
    p.title = value_of(table, 14);
}

}  // namespace toven
