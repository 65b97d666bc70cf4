#include "platform/qt/waiting_input.h"

#include <algorithm>

#include "platform/window_system.h"

namespace toven::platform::qt {

namespace {

constexpr std::intptr_t repeated_bit = std::intptr_t{1} << 30;

bool is_repeat(const Input& input) {
    return input.message == WM_KEYDOWN && (input.lparam & repeated_bit) != 0;
}

}  // namespace

bool may_wait(const Input& input) {
    switch (input.message) {
        case WM_MOUSEMOVE:
            return true;
        case WM_KEYDOWN:
            return is_repeat(input);
        case WM_HSCROLL:
            return low_word(input.wparam) != TB_ENDTRACK;
        default:
            return false;
    }
}

std::optional<Input> joined(const Input& waiting, const Input& next) {
    if (waiting.message != next.message) {
        return std::nullopt;
    }
    switch (next.message) {
        case WM_MOUSEMOVE:
            return next;
        case WM_HSCROLL:
            return waiting.lparam == next.lparam ? std::optional<Input>(next) : std::nullopt;
        case WM_KEYDOWN: {
            if (waiting.wparam != next.wparam || !is_repeat(next)) {
                return std::nullopt;
            }
            constexpr unsigned most_repeats = 0xFFFF;
            Input both = next;
            const unsigned count = std::min(low_word(static_cast<std::uintptr_t>(waiting.lparam)) +
                                                low_word(static_cast<std::uintptr_t>(next.lparam)),
                                            most_repeats);
            both.lparam =
                (next.lparam & ~std::intptr_t{0xFFFF}) | static_cast<std::intptr_t>(count);
            return both;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace toven::platform::qt
