// The value of a formula's tree found by walking it, as the language defines it: the oracle
// that the compiled program (expr/program.h) is checked against. An operation without a value
// throws TreeError, which abandons the rest of the walk, so the error is the first one met in
// the formula's order.
#pragma once

#include <cmath>
#include <cstring>

#include "expr/builtin_function.h"
#include "expr/node.h"

namespace toven::test_support {

struct TreeError {
    const char* function;  // "log", "sqrt" or "div"; static text
    double argument;       // the offending argument (0 for "div")
};

class TreeEvaluation final : public NodeVisitor {
  public:
    // The value of the complete tree under `node`; may throw TreeError.
    double value_of(const Node& node) {
        node.accept(*this);
        return value_;
    }

    void visit(const ConstantNode& node) override { value_ = node.value; }
    void visit(const VariableNode& node) override { value_ = node.symbol.value; }

    void visit(const CallNode& node) override {
        const double x = value_of(*node.argument_node);
        const char* name = node.function->name;
        if ((std::strcmp(name, "log") == 0 && outside_log_domain(x)) ||
            (std::strcmp(name, "sqrt") == 0 && outside_sqrt_domain(x))) {
            throw TreeError{name, x};
        }
        value_ = node.function->apply(x);
    }

    void visit(const BinaryNode& node) override {
        const double left = value_of(*node.left);
        const double right = value_of(*node.right);
        switch (node.op) {
            case Plus:
                value_ = left + right;
                break;
            case Minus:
                value_ = left - right;
                break;
            case Times:
                value_ = left * right;
                break;
            case Divide:
                if (failing_divisor(right)) {
                    throw TreeError{"div", 0};
                }
                value_ = left / right;
                break;
            default:
                value_ = std::pow(left, right);
        }
    }

  private:
    double value_ = 0;
};

// The tree's value, or 0 where an operation has none.
inline double tree_value_or_zero(const Node& root) {
    try {
        return TreeEvaluation().value_of(root);
    } catch (const TreeError&) {
        return 0;
    }
}

}  // namespace toven::test_support
