#include "app/user_tables.h"

#include "expr/item_table.h"

namespace toven {

// Both tables and their loading live in this one file, so the defaults are built in a fixed
// order: the built-in functions are constant-initialised before any of this runs, then fdata,
// then sdata.
DataTable fdata;
DataTable sdata;

void load_fdata_defaults() {
    fdata = default_table(TableName::fdata);
}

void load_sdata_defaults() {
    sdata = default_table(TableName::sdata);
}

namespace {

const bool defaults_loaded = (load_fdata_defaults(), load_sdata_defaults(), true);

}  // namespace

}  // namespace toven
