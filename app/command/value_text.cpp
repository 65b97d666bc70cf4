#include "app/command/value_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace toven {

namespace {

__extension__ using Wide = unsigned __int128;

constexpr int digit_count = 17;
constexpr std::uint64_t smallest_digits = 10'000'000'000'000'000;  // 10^16
constexpr std::uint64_t digits_end = 100'000'000'000'000'000;      // 10^17

// 5^0 to 5^32: with a 53-bit significand the product stays below 2^128.
constexpr int largest_power = 32;
constexpr auto powers_of_5 = [] {
    struct Table {
        Wide power[largest_power + 1];
    } table{};
    table.power[0] = 1;
    for (int p = 1; p <= largest_power; ++p) {
        table.power[p] = table.power[p - 1] * 5;
    }
    return table;
}();

// The 17 significant digits of `value` (finite, above 0) rounded as printf rounds them (to
// nearest, a tie to even), and the decimal exponent of the first one. The whole product of
// the significand and a power of ten is held exactly in 128 bits, so the rounding is exact;
// false outside the range where it fits (about 1e-16 to 1e17), which to_chars then takes.
bool seventeen_digits(double value, std::uint64_t& digits, int& exponent) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>(bits >> 52 & 0x7ff);
    if (biased == 0) {
        return false;  // subnormal: far below the range
    }
    const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1}
                                                                                    << 52;
    const int binary_exponent = biased - 1075;  // value = significand * 2^binary_exponent
    // log10(value) lies within [b, b + 0.302) for b = (binary_exponent + 52) * log10(2): the
    // estimate is the exponent or one below it.
    exponent = static_cast<int>(std::floor((binary_exponent + 52) * 0.30102999566398120));
    for (int tries = 0; tries < 3; ++tries) {
        const int power = digit_count - 1 - exponent;
        if (power < 0 || power > largest_power) {
            return false;
        }
        // value * 10^power = product * 2^shift
        const Wide product = significand * powers_of_5.power[power];
        const int shift = binary_exponent + power;
        Wide whole = 0;
        bool round_up = false;
        if (shift >= 0) {
            if (shift > 16) {
                return false;
            }
            whole = product << shift;
        } else {
            if (shift <= -128) {
                return false;
            }
            whole = product >> -shift;
            const Wide rest = product & ((Wide{1} << -shift) - 1);
            const Wide half = Wide{1} << (-shift - 1);
            round_up = rest > half || (rest == half && (whole & 1) != 0);
        }
        if (whole < smallest_digits) {
            --exponent;
        } else if (whole >= digits_end) {
            ++exponent;
        } else {
            digits = static_cast<std::uint64_t>(whole) + (round_up ? 1 : 0);
            if (digits == digits_end) {
                digits = smallest_digits;
                ++exponent;
            }
            return true;
        }
    }
    return false;
}

// %.17g's layout of the digits: fixed for exponents from -4 to 16, else d.ddde±XX; trailing
// zeros of the fraction dropped, and the point with them.
char* lay_out(std::uint64_t digits, int exponent, char* out) {
    char text[digit_count];
    for (int i = digit_count - 1; i >= 0; --i) {
        text[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int last = digit_count - 1;
    while (last > 0 && text[last] == '0') {
        --last;
    }
    if (exponent < -4 || exponent >= digit_count) {
        *out++ = text[0];
        if (last > 0) {
            *out++ = '.';
            std::memcpy(out, text + 1, static_cast<std::size_t>(last));
            out += last;
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int size = exponent < 0 ? -exponent : exponent;
        if (size < 10) {
            *out++ = '0';
        }
        return std::to_chars(out, out + 4, size).ptr;
    }
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        std::memset(out, '0', static_cast<std::size_t>(-exponent - 1));
        out += -exponent - 1;
        std::memcpy(out, text, static_cast<std::size_t>(last + 1));
        return out + last + 1;
    }
    std::memcpy(out, text, static_cast<std::size_t>(exponent + 1));
    out += exponent + 1;
    if (last > exponent) {
        *out++ = '.';
        std::memcpy(out, text + exponent + 1, static_cast<std::size_t>(last - exponent));
        out += last - exponent;
    }
    return out;
}

}  // namespace

char* format_value(double value, char* out) {
    if (std::isnan(value)) {
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    std::uint64_t digits = 0;
    int exponent = 0;
    if (value != 0 && std::isfinite(value) &&
        seventeen_digits(std::fabs(value), digits, exponent)) {
        if (value < 0) {
            *out++ = '-';
        }
        return lay_out(digits, exponent, out);
    }
    return std::to_chars(out, out + max_value_text, value, std::chars_format::general, digit_count)
        .ptr;
}

}  // namespace toven
