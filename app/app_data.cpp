#include "app/app_data.h"

#include "app/user_tables.h"

namespace toven {

AppData::AppData() {
    load_fdata_defaults(fdata);
    load_sdata_defaults(sdata);
}

}  // namespace toven
