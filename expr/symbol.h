// The variables of one compiled formula: an unbalanced binary search tree of names ordered
// as strcmp orders them (unsigned bytes, case-sensitive). The owner of the root owns the tree.
#pragma once

#include <memory>
#include <string>

namespace toven {

struct Symbol {
    explicit Symbol(const char* symbol_name) : name(symbol_name) {}
    ~Symbol();
    Symbol(const Symbol&) = delete;
    Symbol& operator=(const Symbol&) = delete;

    std::unique_ptr<Symbol> left;   // smaller names
    std::unique_ptr<Symbol> right;  // greater names
    std::string name;
    double value = 0;
};

// The symbol of `name` under `root`, inserted with value 0 when it is missing.
Symbol& find_or_add(std::unique_ptr<Symbol>& root, const char* name);

// The symbol of `name` under `root`, or null; never inserts.
Symbol* find_symbol(Symbol* root, const char* name);

// Assigns `value` to the symbol of `name`; does nothing when the name is not in the tree.
void set_variable(const char* name, double value, Symbol* root);

}  // namespace toven
