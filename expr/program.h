// The tree of a formula in postfix order, run on a value stack: the same operations in the
// same order as the tree's depth-first evaluation, so the same bits and the same first Error,
// but without a virtual call per node and without recursion, whatever the tree's depth.
// The parser emits it as it builds the tree. Running allocates nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "expr/builtin_function.h"
#include "expr/lexer.h"
#include "expr/symbol.h"

namespace toven {

class Program {
  public:
    void clear();
    void push_constant(double value);
    void push_variable(const Symbol& symbol);
    // `function` may be null in a program from a failed parse.
    void call(const BuiltinFunction* function);
    void apply(TokenKind op);

    // The value of a program from a successful parse; may raise Error.
    double run();

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

    void grow(int change);

    std::vector<Instruction> code_;
    std::vector<double> stack_;
    int depth_ = 0;
};

}  // namespace toven
