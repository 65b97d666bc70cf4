#include "surface/graph_parameters.h"

#include "expr/c_number.h"
#include "expr/item_table.h"

namespace toven {

namespace {

const char* value_of(const DataTable& table, std::string_view name) {
    const int record = record_number(name);
    return record < table.size() ? record_value(table[record]) : "";
}

double as_double(const DataTable& table, std::string_view name) {
    return c_atof(value_of(table, name));
}

int as_int(const DataTable& table, std::string_view name) {
    return c_atoi(value_of(table, name));
}

// Blanks around the choice are not part of it; a table without the item draws both.
CurveChoice as_curves(const DataTable& table) {
    const std::string_view choice = trim_blanks(value_of(table, "curves"));
    if (choice == "both" || choice.empty()) {
        return CurveChoice::both;
    }
    if (choice == "x") {
        return CurveChoice::along_x;
    }
    return choice == "y" ? CurveChoice::along_y : CurveChoice::unknown;
}

}  // namespace

GraphParameters load_graph_parameters(const DataTable& table) {
    GraphParameters p;
    p.x1 = as_double(table, "x1");
    p.x2 = as_double(table, "x2");
    p.y1 = as_double(table, "y1");
    p.y2 = as_double(table, "y2");
    p.z1 = as_double(table, "z1");
    p.z2 = as_double(table, "z2");
    p.n = as_int(table, "n");
    p.m = as_int(table, "m");
    p.k = as_int(table, "k");
    p.tilt = as_double(table, "tilt");
    p.pc = as_int(table, "pc");
    p.fc = as_int(table, "fc");
    p.ax = as_int(table, "ax");
    p.title = value_of(table, "title");
    p.curves = as_curves(table);
    p.turn = as_double(table, "turn");
    return p;
}

}  // namespace toven
