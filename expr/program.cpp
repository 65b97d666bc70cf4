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
    Instruction instruction{Opcode::call, {}};
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

double Program::run() {
    assert(depth_ == 1 && "only a complete program is run");
    double* next = stack_.data();  // the first free slot
    for (const Instruction& instruction : code_) {
        switch (instruction.opcode) {
            case Opcode::constant:
                *next++ = instruction.constant;
                break;
            case Opcode::variable:
                *next++ = *instruction.variable;
                break;
            case Opcode::call:
                next[-1] = instruction.function->apply(next[-1]);
                break;
            case Opcode::plus:
                --next;
                next[-1] = next[-1] + next[0];
                break;
            case Opcode::minus:
                --next;
                next[-1] = next[-1] - next[0];
                break;
            case Opcode::times:
                --next;
                next[-1] = next[-1] * next[0];
                break;
            case Opcode::divide:
                --next;
                next[-1] = divide(next[-1], next[0]);
                break;
            case Opcode::power:
                --next;
                next[-1] = std::pow(next[-1], next[0]);
                break;
        }
    }
    return next[-1];
}

}  // namespace toven
