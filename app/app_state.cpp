#include "app/app_state.h"

#include "app/user_tables.h"

namespace toven {

AppState::AppState() {
    load_fdata_defaults(fdata);
    load_sdata_defaults(sdata);
}

}  // namespace toven
