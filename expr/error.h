// The engine's evaluation error: raised as a pointer to a heap object by raise_error, caught
// only by Expression::evaluate, which deletes it. A null pointer may arrive when there was no
// memory for the object.
#pragma once

namespace toven {

struct Error {
    const char* function;  // "log", "sqrt" or "div"; static text, not owned
    double argument;       // the offending argument (0 for "div")
};

[[noreturn]] void raise_error(const char* function, double argument);

}  // namespace toven
