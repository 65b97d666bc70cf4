// The engine's evaluation error: raised as a pointer to a heap object by raise_error when the
// tree's own evaluation (Node::evaluate) meets log, sqrt or a division without a value;
// whoever catches it deletes it. A null pointer may arrive when there was no memory for the
// object. The compiled program that Expression::evaluate runs reports the same failures as a
// status instead (Program::Outcome), which costs no more than a value.
#pragma once

namespace toven {

struct Error {
    const char* function;  // "log", "sqrt" or "div"; static text, not owned
    double argument;       // the offending argument (0 for "div")
};

[[noreturn]] void raise_error(const char* function, double argument);

}  // namespace toven
