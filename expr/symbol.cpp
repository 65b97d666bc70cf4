#include "expr/symbol.h"

#include <cstring>
#include <utility>

namespace toven {

namespace {

// Destroys a tree without recursion: names written in sorted order make a tree as deep as
// the formula has names. Right rotations turn it into a chain that is freed node by node.
void destroy_tree(std::unique_ptr<Symbol> root) {
    while (root) {
        if (root->left) {
            std::unique_ptr<Symbol> pivot = std::move(root->left);
            root->left = std::move(pivot->right);
            pivot->right = std::move(root);
            root = std::move(pivot);
        } else {
            std::unique_ptr<Symbol> next = std::move(root->right);
            root.reset();
            root = std::move(next);
        }
    }
}

}  // namespace

Symbol::~Symbol() {
    destroy_tree(std::move(left));
    destroy_tree(std::move(right));
}

Symbol& find_or_add(std::unique_ptr<Symbol>& root, const char* name) {
    std::unique_ptr<Symbol>* link = &root;
    while (*link) {
        int order = std::strcmp(name, (*link)->name.c_str());
        if (order == 0) {
            return **link;
        }
        link = order < 0 ? &(*link)->left : &(*link)->right;
    }
    *link = std::make_unique<Symbol>(name);
    return **link;
}

Symbol* find_symbol(Symbol* root, const char* name) {
    while (root != nullptr) {
        int order = std::strcmp(name, root->name.c_str());
        if (order == 0) {
            return root;
        }
        root = order < 0 ? root->left.get() : root->right.get();
    }
    return nullptr;
}

void set_variable(const char* name, double value, Symbol* root) {
    if (Symbol* symbol = find_symbol(root, name)) {
        symbol->value = value;
    }
}

}  // namespace toven
