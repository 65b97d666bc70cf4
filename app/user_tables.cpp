#include "app/user_tables.h"

#include "expr/item_table.h"

namespace toven {

void load_fdata_defaults(DataTable& fdata) {
    fdata = default_table(TableName::fdata);
}

void load_sdata_defaults(DataTable& sdata) {
    sdata = default_table(TableName::sdata);
}

}  // namespace toven
