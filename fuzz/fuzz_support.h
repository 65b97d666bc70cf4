// What the fuzzers share: the window-system session they draw in, the way input bytes become
// the text a person could type, and a failure that libFuzzer reports with the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace toven::fuzz {

// The longest line a data box edits; nobody can type more into one item.
inline constexpr std::size_t longest_line = 118;

// Opens the headless window-system session once for the whole fuzzing run.
void start_session();
// The same with widgets, for fuzzers that open windows and controls (offscreen still).
void start_widget_session();

// The bytes up to the first NUL (a typed line holds none), at most `limit` of them.
std::string typed_text(const std::uint8_t* data, std::size_t size, std::size_t limit);

// Prints what broke and aborts, so that libFuzzer keeps the input that did it.
[[noreturn]] void fail(const std::string& what, const std::string& input);

}  // namespace toven::fuzz
