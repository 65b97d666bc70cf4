// Recursive descent over the tokens of a Lexer: builds the expression tree. Errors go to the
// lexer's one-shot flag; the descent always goes on to the end of the text, except that it
// refuses to nest deeper than max_nesting.
#pragma once

#include <memory>

#include "expr/lexer.h"
#include "expr/node.h"

namespace toven {

// How deep parentheses, bars and calls may nest. Each level costs four parser frames, 250 to
// 500 bytes of stack (up to 2 kilobytes under AddressSanitizer), so the deepest formula stays
// well inside an 8 MB stack; deeper formulas are refused rather than risk it.
inline constexpr int max_nesting = 2000;

class Parser {
  public:
    explicit Parser(Lexer& lexer) : lexer_(lexer) {}

    // The tree of the whole formula; reports "Unexpected character" for tokens left over.
    std::unique_ptr<Node> parse();

  private:
    std::unique_ptr<Node> parse_expression();
    std::unique_ptr<Node> parse_term();
    std::unique_ptr<Node> parse_power();
    std::unique_ptr<Node> parse_primary();
    std::unique_ptr<Node> parse_call(const Symbol& name);
    std::unique_ptr<Node> parse_parenthesis();
    std::unique_ptr<Node> parse_bars();
    void expect_right_paren();
    bool enter_nesting();

    Lexer& lexer_;
    int nesting_ = 0;
};

}  // namespace toven
