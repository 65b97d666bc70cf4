// The tree of a formula in postfix order, run on a value stack: the same operations in the
// same order as the tree's depth-first evaluation, so the same bits and the same first failing
// operation, but without a virtual call per node and without recursion, whatever the tree's
// depth. It is compiled from the finished tree in one walk. Running allocates nothing and
// raises nothing: an operation without a value ends the run with a status, as cheaply as a
// value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "expr/builtin_function.h"
#include "expr/node.h"

namespace toven {

class Program {
  public:
    // Replaces the program with that of the tree under `root`, which must be complete (the
    // tree of a successful parse).
    void compile(const Node& root);
    void clear();

    // What one run gives: the value, or the first operation that had none ("log", "sqrt" or
    // "div") and its argument (0 for "div"); then the value is 0 and nothing after that
    // operation was run.
    struct Outcome {
        double value = 0;
        const char* failed = nullptr;  // static text; null when the run completed
        double argument = 0;
    };

    // Runs a compiled program on the current symbol values.
    Outcome run();

  private:
    enum class Opcode : std::uint8_t {
        constant,
        variable,
        call,
        fabs,
        log,
        sqrt,
        plus,
        minus,
        times,
        divide,
        power
    };
    struct Instruction {
        Opcode opcode;
        union {
            double constant;
            const double* variable;
            const BuiltinFunction* function;
        };
    };
    class Emitter;

    void size_stack();

    std::vector<Instruction> code_;
    std::vector<double> stack_;
};

}  // namespace toven
