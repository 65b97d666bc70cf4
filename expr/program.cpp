#include "expr/program.h"

#include <algorithm>
#include <cmath>

#include "platform/programmer_error.h"

namespace toven {

// Writes the tree's instructions in reverse postfix order: a node's own instruction, then its
// right subtree, then its left. Read backwards, that puts the left child before the right and
// both before their parent, as the tree evaluates them. Each node is visited once, from a
// stack of the nodes still to visit, so a tree of any depth compiles without recursion (a sum
// of many terms is as deep as it is long).
class Program::Emitter final : public NodeVisitor {
  public:
    explicit Emitter(Program& program) : program_(program) {}

    void emit_reversed(const Node& root) {
        pending_.push_back(&root);
        while (!pending_.empty()) {
            const Node* node = pending_.back();
            pending_.pop_back();
            node->accept(*this);
        }
    }

    void visit(const ConstantNode& node) override { emit(Opcode::constant).constant = node.value; }

    void visit(const VariableNode& node) override {
        if (node.symbol.name == "x") {
            emit(Opcode::x);
            program_.x_value_ = &node.symbol.value;
        } else if (node.symbol.name == "y") {
            emit(Opcode::y);
            program_.y_value_ = &node.symbol.value;
        } else {
            emit(Opcode::variable).variable = &node.symbol.value;
        }
    }

    // The absolute value, which every |...| calls, runs inline rather than through a virtual
    // call, and so do log and sqrt, whose failures the run reports instead of raising them.
    void visit(const CallNode& node) override {
        TOVEN_EXPECT(node.function != nullptr && node.argument_node,
                     "only a complete tree compiles");
        emit(opcode_of(node.function)).function = node.function;
        pending_.push_back(node.argument_node.get());
    }

    void visit(const BinaryNode& node) override {
        static constexpr Opcode opcodes[] = {Opcode::plus, Opcode::minus, Opcode::times,
                                             Opcode::divide, Opcode::power};
        TOVEN_EXPECT(node.op >= Plus && node.op <= Power, "a binary operator is Plus to Power");
        TOVEN_EXPECT(node.left && node.right, "only a complete tree compiles");
        emit(opcodes[node.op - Plus]);
        pending_.push_back(node.left.get());
        pending_.push_back(node.right.get());
    }

  private:
    static Opcode opcode_of(const BuiltinFunction* function) {
        if (function == find_function("fabs")) {
            return Opcode::fabs;
        }
        if (function == find_function("log")) {
            return Opcode::log;
        }
        return function == find_function("sqrt") ? Opcode::sqrt : Opcode::call;
    }

    Instruction& emit(Opcode opcode) {
        return program_.code_.emplace_back(Instruction{opcode, {}});
    }

    Program& program_;
    std::vector<const Node*> pending_;
};

void Program::compile(const Node& root) {
    clear();
    Emitter(*this).emit_reversed(root);
    std::reverse(code_.begin(), code_.end());
    size_stack();
}

void Program::clear() {
    code_.clear();
    stack_.clear();
    x_value_ = &no_value_;
    y_value_ = &no_value_;
}

// Gives the stack room for the most values the program holds at once, so that running
// never allocates.
void Program::size_stack() {
    int depth = 0;
    int deepest = 0;
    for (const Instruction& instruction : code_) {
        switch (instruction.opcode) {
            case Opcode::constant:
            case Opcode::variable:
            case Opcode::x:
            case Opcode::y:
                deepest = std::max(deepest, ++depth);
                break;
            case Opcode::call:
            case Opcode::fabs:
            case Opcode::log:
            case Opcode::sqrt:
                break;
            default:  // a binary operator takes two values and leaves one
                --depth;
        }
    }
    TOVEN_EXPECT(depth == 1, "a complete tree leaves one value");
    stack_.resize(static_cast<std::size_t>(deepest));
}

// The top of the stack lives in `top`, a register, rather than in memory: the default
// formula then runs within a few nanoseconds of the native expression.
Program::Outcome Program::run() {
    return run(*x_value_, *y_value_, stack_.data());
}

Program::Outcome Program::run(double x, double y, double* stack) const {
    TOVEN_EXPECT(!code_.empty(), "only a compiled program is run");
    double top = 0;
    double* below = stack;  // the first free slot under `top`
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
            case Opcode::x:
                *below++ = top;
                top = x;
                break;
            case Opcode::y:
                *below++ = top;
                top = y;
                break;
            case Opcode::call:
                top = instruction.function->apply(top);
                break;
            case Opcode::fabs:
                top = std::fabs(top);
                break;
            case Opcode::log:
                if (outside_log_domain(top)) {
                    return {0, "log", top};
                }
                top = std::log(top);
                break;
            case Opcode::sqrt:
                if (outside_sqrt_domain(top)) {
                    return {0, "sqrt", top};
                }
                top = std::sqrt(top);
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
                if (failing_divisor(top)) {
                    return {0, "div", 0};
                }
                top = *--below / top;
                break;
            case Opcode::power:
                --below;
                top = std::pow(*below, top);
                break;
        }
    }
    return {top};
}

}  // namespace toven
