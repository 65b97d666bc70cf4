// Turns one formula text into tokens, one token ahead, entering every name it scans into its
// symbol table (which it owns). Keeps the parse's one-shot error flag and the diagnostic of
// the first error. The formula text is not copied: it must outlive the lexer's scanning.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "expr/symbol.h"

namespace toven {

enum TokenKind : int {
    Bad = 0,
    End = 1,
    Name = 2,
    Number = 3,
    Plus = 4,
    Minus = 5,
    Times = 6,
    Divide = 7,
    Power = 8,
    LeftParen = 9,
    RightParen = 10,
    Bar = 11,
};

class Lexer {
  public:
    // Scans the first token of the NUL-terminated `formula`.
    explicit Lexer(const char* formula);
    Lexer(const Lexer&) = delete;
    Lexer& operator=(const Lexer&) = delete;

    // Scans the next token; after End it keeps yielding End.
    void advance();
    // Records a syntax error: only the first of a parse clears `ok` and composes the
    // diagnostic (the text up to and including the character at `position`, two blanks,
    // the message and a full stop).
    void report(std::string_view message);

    const std::string& diagnostic() const { return diagnostic_; }

    std::unique_ptr<Symbol> symbols;
    TokenKind kind = End;
    Symbol* symbol = nullptr;  // of a Name token; owned by `symbols`
    double value = 0;          // of a Number token
    const char* start;
    const char* position;
    std::string text;  // the characters of the current name or number, whatever their length
    bool ok = true;

  private:
    void scan_name();
    void scan_number();
    void scan_digits();
    void scan_operator();

    std::string diagnostic_;
};

}  // namespace toven
