// Why something a person asked for was not done, in words for that person: a file that
// cannot be written, graph data that cannot be plotted, an argument that means nothing.
// Operations that can refuse return std::optional<Refusal>, empty when they did the work.
#pragma once

#include <string>

namespace toven::platform {

struct Refusal {
    std::string message;

    friend bool operator==(const Refusal&, const Refusal&) = default;
};

}  // namespace toven::platform
