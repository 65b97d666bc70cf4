// The compiled form of one formula: the lexer of the last parse (with the symbol table that
// holds the variables), the tree, and the same tree as a postfix program for evaluation.
// Evaluation errors never leave evaluate(): they turn the value into 0.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "expr/lexer.h"
#include "expr/node.h"
#include "expr/program.h"

namespace toven {

// The longest formula text compiled. It bounds the time of a parse (the symbol tree is not
// balanced, so a formula of many distinct names costs the square of their number) and the
// memory of the tree, about 40 bytes a character at worst.
inline constexpr std::size_t max_formula_length = 100000;

class Expression {
  public:
    Expression();
    ~Expression();
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;

    // Compiles the NUL-terminated `text`, replacing the previous lexer, symbols and tree;
    // `ok` tells whether it parsed without error. The text is not needed afterwards.
    void parse(const char* text, bool& ok);

    // The formula's value for the current symbol values; 0 after an evaluation error, and 0
    // when the last parse failed or there was none.
    double evaluate();
    // The formula's value with x and y at `x` and `y` and the other variables at their
    // current values, changing nothing: several threads may call it at once, each with a
    // `stack` of its own (resized when too small), while nothing parses or calls evaluate().
    // 0 after an evaluation error, which diagnostic() does not report.
    double evaluate_at(double x, double y, std::vector<double>& stack) const;

    // The lexer of the last parse (with the symbol table), or null before the first.
    Lexer* lexer() const { return lexer_.get(); }
    // The tree of the last parse; incomplete after a failed parse; null before the first.
    const Node* root() const { return root_.get(); }

    // The last diagnostic: a failed parse's (the text up to the fault, two blanks, the
    // message and a full stop) or the last evaluation error's ("Domain error: log(-1)").
    // Empty when neither has happened since the last parse. An evaluation error only notes
    // its operation and argument; the text is composed here, when asked for.
    std::string diagnostic() const;

  private:
    std::unique_ptr<Lexer> lexer_;
    std::unique_ptr<Node> root_;
    Program program_;
    bool compiled_ = false;
    std::string parse_diagnostic_;
    Program::Outcome last_failure_;  // of the last failed evaluation since the last parse
};

}  // namespace toven
