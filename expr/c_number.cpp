#include "expr/c_number.h"

#include <limits.h>
#include <locale.h>
#include <stdlib.h>

namespace toven {

namespace {

locale_t c_locale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

double c_strtod(const char* text, const char** end) {
    char* stop = nullptr;
    double value = strtod_l(text, &stop, c_locale());
    if (end != nullptr) {
        *end = stop;
    }
    return value;
}

double c_atof(const char* text) {
    return c_strtod(text, nullptr);
}

int c_atoi(const char* text) {
    long value = strtol_l(text, nullptr, 10, c_locale());
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

}  // namespace toven
