// Values come out exactly as printf("%.17g") writes them, whichever road format_value takes;
// every NaN is "nan".
#include "app/command/value_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace toven {
namespace {

std::vector<double> sample_values() {
    using limits = std::numeric_limits<double>;
    std::vector<double> values = {0.0,
                                  -0.0,
                                  limits::infinity(),
                                  -limits::infinity(),
                                  limits::quiet_NaN(),
                                  -limits::quiet_NaN(),
                                  limits::denorm_min(),
                                  limits::min(),
                                  limits::max(),
                                  0.1,
                                  0.5,
                                  1e-16,
                                  9.99999999999999e-17,
                                  1e16,
                                  1e17,
                                  99999999999999999.0,
                                  9.9999999999999995e-5,
                                  1e-4,
                                  1e-5,
                                  123456789012345678.0};
    std::mt19937_64 random(17);
    for (int i = 0; i < 1'000'000; ++i) {
        const std::uint64_t bits = random();
        switch (i % 5) {
            case 0:  // any bit pattern
                values.push_back(std::bit_cast<double>(bits));
                break;
            case 1:  // a subnormal
                values.push_back(std::bit_cast<double>(bits & 0x800fffffffffffff));
                break;
            case 2:  // a number of everyday size
                values.push_back(static_cast<double>(bits % 100000000) / 4096 - 10000);
                break;
            case 3:  // a full significand anywhere from 1e-33 to 1e21
                values.push_back(std::ldexp(static_cast<double>(bits >> 11),
                                            static_cast<int>(bits % 120) - 110));
                break;
            default:  // a neighbour of a power of ten
                values.push_back(std::nextafter(std::pow(10.0, static_cast<int>(bits % 40) - 20),
                                                (bits & 1) != 0 ? 0.0 : 1e300));
        }
    }
    return values;
}

TEST(FormatValue, WritesWhatPrintfWrites) {
    char ours[max_value_text + 1];
    char printf_text[64];
    for (const double value : sample_values()) {
        *format_value(value, ours) = '\0';
        std::snprintf(printf_text, sizeof printf_text, "%.17g", value);
        const std::string expected = std::isnan(value) ? "nan" : printf_text;
        ASSERT_EQ(ours, expected) << std::hexfloat << value;
    }
}

}  // namespace
}  // namespace toven
