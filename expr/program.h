// The tree of a formula in postfix order, run on a value stack: the same operations in the
// same order as the tree's depth-first evaluation, so the same bits and the same first Error,
// but without a virtual call per node and without recursion, whatever the tree's depth.
// It is compiled from the finished tree in one walk. Running allocates nothing.
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

    // The value of a compiled program; may raise Error.
    double run();
    // The number of instructions: what one run costs, at most a step each.
    std::size_t size() const { return code_.size(); }

  private:
    enum class Opcode : std::uint8_t {
        constant,
        variable,
        call,
        fabs,
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
