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
    // Runs it with the variables x and y at `x` and `y` and the others at their current
    // values, changing nothing of its own: several threads may run one program at once, each
    // with a `stack` of its own of at least stack_size() values.
    Outcome run(double x, double y, double* stack) const;
    std::size_t stack_size() const { return stack_.size(); }

  private:
    enum class Opcode : std::uint8_t {
        constant,
        variable,
        x,  // the variables of the point, given to each run
        y,
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
    // Where run() without a point reads x and y: their symbols' values, or a zero when the
    // formula does not name them.
    const double* x_value_ = &no_value_;
    const double* y_value_ = &no_value_;
    static constexpr double no_value_ = 0;
};

}  // namespace toven
