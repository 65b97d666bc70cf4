// Why something a person asked for was not done, in words for that person: a file that
// cannot be written, graph data that cannot be plotted, an argument that means nothing.
// Operations that can refuse return std::optional<Refusal>, empty when they did the work.
#pragma once

#include <cstdio>
#include <string>

namespace toven::platform {

struct Refusal {
    std::string message;

    friend bool operator==(const Refusal&, const Refusal&) = default;
};

// A refusal whose message is printf's `format` with `values`; messages are a line or two,
// and one longer than 239 bytes is cut there.
template <typename... Values>
Refusal formatted_refusal(const char* format, Values... values) {
    char text[240];
    std::snprintf(text, sizeof text, format, values...);
    return {text};
}

}  // namespace toven::platform
