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

bool is_decimal_number(std::string_view text) {
    std::size_t at = 0;
    const auto skip_sign = [&] {
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            ++at;
        }
    };
    const auto skip_digits = [&] {
        const std::size_t first = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ++at;
        }
        return at - first;
    };
    skip_sign();
    std::size_t digits = skip_digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        digits += skip_digits();
    }
    if (digits == 0) {
        return false;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        skip_sign();
        if (skip_digits() == 0) {
            return false;
        }
    }
    return at == text.size();
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
