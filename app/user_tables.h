// The two tables of user data as the program starts with them: fdata (parameters a..e and the
// formula f(x,y)) and sdata (the graph data), from the table of data items. The loaders put a
// table back to its defaults.
#pragma once

#include "expr/data_table.h"

namespace toven {

void load_fdata_defaults(DataTable& fdata);
void load_sdata_defaults(DataTable& sdata);

}  // namespace toven
