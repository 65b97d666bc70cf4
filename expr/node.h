// The expression tree: each node owns its children. The compiled program (program.h) is made
// from it and evaluates it. A tree from a failed parse may miss children and must not be
// compiled. Destroying a tree of any depth uses no recursion.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "expr/builtin_function.h"
#include "expr/lexer.h"
#include "expr/symbol.h"

namespace toven {

class ConstantNode;
class VariableNode;
class CallNode;
class BinaryNode;

// An operation that depends on the kind of node: a node's accept() calls the visit() of its
// own class. Visiting one node does not visit its children.
class NodeVisitor {
  public:
    virtual void visit(const ConstantNode& node) = 0;
    virtual void visit(const VariableNode& node) = 0;
    virtual void visit(const CallNode& node) = 0;
    virtual void visit(const BinaryNode& node) = 0;

  protected:
    ~NodeVisitor() = default;
};

class Node {
  public:
    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    virtual ~Node() = default;
    virtual void accept(NodeVisitor& visitor) const = 0;
    // Moves the children out, so that a tree can be destroyed one node at a time.
    virtual void release_children(std::vector<std::unique_ptr<Node>>& into);
};

// Destroys `node` and everything under it, without recursion.
void destroy_tree(std::unique_ptr<Node> node);

class ConstantNode final : public Node {
  public:
    explicit ConstantNode(double constant) : value(constant) {}
    void accept(NodeVisitor& visitor) const override { visitor.visit(*this); }

    double value;
};

class VariableNode final : public Node {
  public:
    explicit VariableNode(const Symbol& variable) : symbol(variable) {}
    void accept(NodeVisitor& visitor) const override { visitor.visit(*this); }

    const Symbol& symbol;  // owned by the lexer's symbol table
};

class CallNode final : public Node {
  public:
    CallNode(const BuiltinFunction* called, std::unique_ptr<Node> argument)
        : function(called), argument_node(std::move(argument)) {}
    ~CallNode() override;
    void accept(NodeVisitor& visitor) const override { visitor.visit(*this); }
    void release_children(std::vector<std::unique_ptr<Node>>& into) override;

    const BuiltinFunction* function;  // null for a name that is not a built-in
    std::unique_ptr<Node> argument_node;
};

class BinaryNode final : public Node {
  public:
    BinaryNode(TokenKind operation, std::unique_ptr<Node> left_node,
               std::unique_ptr<Node> right_node)
        : op(operation), left(std::move(left_node)), right(std::move(right_node)) {}
    ~BinaryNode() override;
    void accept(NodeVisitor& visitor) const override { visitor.visit(*this); }
    void release_children(std::vector<std::unique_ptr<Node>>& into) override;

    TokenKind op;  // Plus, Minus, Times, Divide or Power
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
};

// A divisor of 0 (either sign) or not a number, for which division has no value.
inline bool failing_divisor(double right) {
    return right == 0 || std::isnan(right);
}

}  // namespace toven
