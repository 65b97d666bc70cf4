// The two tables of user data: fdata (parameters a..e and the formula f(x,y)) and sdata (the
// graph data), as the program starts with them. The record and table types are those of
// expr/data_table.h. Both hold their defaults from static initialisation on, fdata first, and
// live for the whole run. The loaders restore the defaults.
#pragma once

#include "expr/data_table.h"

namespace toven {

extern DataTable fdata;
extern DataTable sdata;

void load_fdata_defaults();
void load_sdata_defaults();

}  // namespace toven
