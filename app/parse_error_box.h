// The box in which the window program shows a formula that does not parse: its record's line,
// under the caption "Parse error: therefore f(x,y) = 0", with one OK button.
#pragma once

#include <string>

#include "platform/window.h"

namespace toven {

// A ParseErrorSink (expr/surface_function.h) that shows the box over `owner`. The owner is
// kept readable, so that a window being destroyed can take its sinks back.
struct ParseErrorBox {
    platform::Window* owner = nullptr;

    void operator()(const std::string& formula_line) const;
};

}  // namespace toven
