#include "expr/node.h"

#include <utility>

namespace toven {

void Node::release_children(std::vector<std::unique_ptr<Node>>&) {}

void destroy_tree(std::unique_ptr<Node> node) {
    std::vector<std::unique_ptr<Node>> pending;
    while (node) {
        node->release_children(pending);
        node.reset();
        if (pending.empty()) {
            break;
        }
        node = std::move(pending.back());
        pending.pop_back();
    }
}

CallNode::~CallNode() {
    destroy_tree(std::move(argument_node));
}

void CallNode::release_children(std::vector<std::unique_ptr<Node>>& into) {
    if (argument_node) {
        into.push_back(std::move(argument_node));
    }
}

BinaryNode::~BinaryNode() {
    destroy_tree(std::move(left));
    destroy_tree(std::move(right));
}

void BinaryNode::release_children(std::vector<std::unique_ptr<Node>>& into) {
    if (left) {
        into.push_back(std::move(left));
    }
    if (right) {
        into.push_back(std::move(right));
    }
}

}  // namespace toven
