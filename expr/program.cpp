#include "expr/program.h"

#include <cassert>
#include <cmath>

#include "expr/node.h"

namespace toven {

void Program::clear() {
    code_.clear();
    stack_.clear();
    depth_ = 0;
}

void Program::grow(int change) {
    depth_ += change;
    if (depth_ > static_cast<int>(stack_.size())) {
        stack_.resize(static_cast<std::size_t>(depth_));
    }
}

void Program::push_constant(double value) {
    Instruction instruction{Opcode::constant, {}};
    instruction.constant = value;
    code_.push_back(instruction);
    grow(1);
}

void Program::push_variable(const Symbol& symbol) {
    Instruction instruction{Opcode::variable, {}};
    instruction.variable = &symbol.value;
    code_.push_back(instruction);
    grow(1);
}

void Program::call(const BuiltinFunction* function) {
    // The absolute value, which every |...| calls, runs inline rather than through a virtual
    // call: it cannot fail and gives the same bits.
    Opcode opcode =
        function != nullptr && function == find_function("fabs") ? Opcode::fabs : Opcode::call;
    Instruction instruction{opcode, {}};
    instruction.function = function;
    code_.push_back(instruction);
}

void Program::apply(TokenKind op) {
    static constexpr Opcode opcodes[] = {Opcode::plus, Opcode::minus, Opcode::times, Opcode::divide,
                                         Opcode::power};
    assert(op >= Plus && op <= Power && "a binary operator is Plus to Power");
    code_.push_back(Instruction{opcodes[op - Plus], {}});
    grow(-1);
}

// The top of the stack lives in `top`, a register, rather than in memory: the default
// formula then runs within a few nanoseconds of the native expression.
double Program::run() {
    assert(depth_ == 1 && "only a complete program is run");
    double top = 0;
    double* below = stack_.data();  // the first free slot under `top`
    for (const Instruction& instruction : code_) {
        switch (instruction.opcode) {
            case Opcode::constant:
                *below++ = top;
                top = instruction.constant;
                break;
            case Opcode::variable:
                *below++ = top;
                top = *instruction.variable;
                break;
            case Opcode::call:
                top = instruction.function->apply(top);
                break;
            case Opcode::fabs:
                top = std::fabs(top);
                break;
            case Opcode::plus:
                top = *--below + top;
                break;
            case Opcode::minus:
                top = *--below - top;
                break;
            case Opcode::times:
                top = *--below * top;
                break;
            case Opcode::divide:
                --below;
                top = divide(*below, top);
                break;
            case Opcode::power:
                --below;
                top = std::pow(*below, top);
                break;
        }
    }
    return top;
}

}  // namespace toven
