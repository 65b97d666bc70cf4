#include "app/user_tables.h"

#include <initializer_list>
#include <utility>

namespace toven {

namespace {

struct Default {
    const char* name;
    const char* value;
};

void load_defaults(DataTable& table, std::initializer_list<Default> defaults) {
    table.records.clear();
    table.records.reserve(defaults.size());
    for (const Default& item : defaults) {
        DataRecord work = make_record(item.name, item.value);
        table.records.push_back(std::move(work));
    }
}

}  // namespace

// Both tables and their loading live in this one file, so the defaults are built in a fixed
// order: the built-in functions are constant-initialised before any of this runs, then fdata,
// then sdata.
DataTable fdata;
DataTable sdata;

void load_fdata_defaults() {
    load_defaults(fdata, {{"fdata  ", "6"},
                          {"a", "3"},
                          {"b", "3"},
                          {"c", "1"},
                          {"d", "1"},
                          {"e", "1"},
                          {"f(x,y)", "sin(|x|^a  + |y|^b)"}});
}

void load_sdata_defaults() {
    load_defaults(sdata, {{"sdata    ", "14"},
                          {"x1       ", "-1"},
                          {"x2       ", "1"},
                          {"y1       ", "-1"},
                          {"y2       ", "1"},
                          {"z1       ", "-0.2"},
                          {"z2       ", "1.2"},
                          {"n        ", "20"},
                          {"m        ", "40"},
                          {"k        ", "20"},
                          {"tilt     ", "15"},
                          {"pc       ", "13"},
                          {"fc       ", "0"},
                          {"ax       ", "0"},
                          {"title    ", ""}});
}

namespace {

const bool defaults_loaded = (load_fdata_defaults(), load_sdata_defaults(), true);

}  // namespace

}  // namespace toven
