#include "expr/parser.h"

#include <string>
#include <utility>

namespace toven {

namespace {

// Keeps the nesting count right on every way out of a nested construct.
class NestingLevel {
  public:
    explicit NestingLevel(int& nesting) : nesting_(nesting) { ++nesting_; }
    ~NestingLevel() { --nesting_; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;

  private:
    int& nesting_;
};

}  // namespace

// formula = expression End
std::unique_ptr<Node> Parser::parse() {
    std::unique_ptr<Node> root = parse_expression();
    if (lexer_.kind != End) {
        lexer_.report("Unexpected character");
    }
    return root;
}

// expression = ["-"] term { ("+" | "-") term }
std::unique_ptr<Node> Parser::parse_expression() {
    std::unique_ptr<Node> result;
    if (lexer_.kind == Minus) {
        lexer_.advance();
        auto zero = std::make_unique<ConstantNode>(0);
        result = std::make_unique<BinaryNode>(Minus, std::move(zero), parse_term());
    } else {
        result = parse_term();
    }
    while (lexer_.kind == Plus || lexer_.kind == Minus) {
        TokenKind op = lexer_.kind;
        lexer_.advance();
        result = std::make_unique<BinaryNode>(op, std::move(result), parse_term());
    }
    return result;
}

// term = power { ("*" | "/") power }
std::unique_ptr<Node> Parser::parse_term() {
    std::unique_ptr<Node> result = parse_power();
    while (lexer_.kind == Times || lexer_.kind == Divide) {
        TokenKind op = lexer_.kind;
        lexer_.advance();
        result = std::make_unique<BinaryNode>(op, std::move(result), parse_power());
    }
    return result;
}

// power = primary ["^" primary]
std::unique_ptr<Node> Parser::parse_power() {
    std::unique_ptr<Node> result = parse_primary();
    if (lexer_.kind == Power) {
        lexer_.advance();
        result = std::make_unique<BinaryNode>(Power, std::move(result), parse_primary());
    }
    return result;
}

// primary = Name | Name "(" expression ")" | Number | "(" expression ")" | "|" expression "|"
std::unique_ptr<Node> Parser::parse_primary() {
    switch (lexer_.kind) {
        case Name: {
            const Symbol& name = *lexer_.symbol;
            lexer_.advance();
            if (lexer_.kind == LeftParen) {
                return parse_call(name);
            }
            return std::make_unique<VariableNode>(name);
        }
        case Number: {
            double value = lexer_.value;
            lexer_.advance();
            return std::make_unique<ConstantNode>(value);
        }
        case LeftParen:
            return parse_parenthesis();
        case Bar:
            return parse_bars();
        default:
            lexer_.report("Syntax error");
            return nullptr;
    }
}

// call = Name "(" expression ")", with the current token the "("
std::unique_ptr<Node> Parser::parse_call(const Symbol& name) {
    if (!enter_nesting()) {
        return nullptr;
    }
    NestingLevel level(nesting_);
    lexer_.advance();
    std::unique_ptr<Node> argument = parse_expression();
    const BuiltinFunction* function = find_function(name.name.c_str());
    if (function == nullptr) {
        lexer_.report("Undefined function");
    }
    auto result = std::make_unique<CallNode>(function, std::move(argument));
    expect_right_paren();
    return result;
}

// parenthesis = "(" expression ")"
std::unique_ptr<Node> Parser::parse_parenthesis() {
    if (!enter_nesting()) {
        return nullptr;
    }
    NestingLevel level(nesting_);
    lexer_.advance();
    std::unique_ptr<Node> result = parse_expression();
    expect_right_paren();
    return result;
}

// bars = "|" expression "|"
std::unique_ptr<Node> Parser::parse_bars() {
    if (!enter_nesting()) {
        return nullptr;
    }
    NestingLevel level(nesting_);
    lexer_.advance();
    const BuiltinFunction* fabs = find_function("fabs");
    std::unique_ptr<Node> argument = parse_expression();
    if (fabs == nullptr) {
        lexer_.report("Undefined function");
    }
    auto result = std::make_unique<CallNode>(fabs, std::move(argument));
    if (lexer_.kind == Bar) {
        lexer_.advance();
    } else {
        lexer_.report("'|' expected");
    }
    return result;
}

void Parser::expect_right_paren() {
    if (lexer_.kind == RightParen) {
        lexer_.advance();
    } else {
        lexer_.report("')' expected");
    }
}

// Refuses a construct that would nest deeper than max_nesting; the formula is then not
// parsed any further.
bool Parser::enter_nesting() {
    if (nesting_ < max_nesting) {
        return true;
    }
    lexer_.report("Nested more than " + std::to_string(max_nesting) + " levels deep");
    return false;
}

}  // namespace toven
