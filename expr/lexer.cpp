#include "expr/lexer.h"

#include "expr/c_number.h"

namespace toven {

namespace {

// ASCII classes of the "C" locale, safe for bytes above 127.
bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

Lexer::Lexer(const char* formula) : start(formula), position(formula) {
    advance();
}

void Lexer::advance() {
    while (is_blank(*position)) {
        ++position;
    }
    if (*position == '\0') {
        kind = End;
    } else if (is_letter(*position)) {
        scan_name();
    } else if (is_digit(*position) || *position == '.') {
        scan_number();
    } else {
        scan_operator();
    }
}

void Lexer::scan_name() {
    text.clear();
    while (is_letter(*position) || is_digit(*position)) {
        text += *position++;
    }
    symbol = &find_or_add(symbols, text.c_str());
    kind = Name;
}

void Lexer::scan_digits() {
    while (is_digit(*position)) {
        text += *position++;
    }
}

// number = digits ["." digits] [("e" | "E") ["+" | "-"] digits], where digits may be empty
void Lexer::scan_number() {
    text.clear();
    scan_digits();
    if (*position == '.') {
        text += *position++;
        scan_digits();
    }
    if (*position == 'e' || *position == 'E') {
        text += *position++;
        if (*position == '+' || *position == '-') {
            text += *position++;
        }
        scan_digits();
    }
    const char* end = nullptr;
    value = c_strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) {
        report("Error in number");
    }
    kind = Number;
}

void Lexer::scan_operator() {
    switch (*position++) {
        case '(':
            kind = LeftParen;
            break;
        case ')':
            kind = RightParen;
            break;
        case '*':
            kind = Times;
            break;
        case '+':
            kind = Plus;
            break;
        case '-':
            kind = Minus;
            break;
        case '/':
            kind = Divide;
            break;
        case '^':
            kind = Power;
            break;
        case '|':
            kind = Bar;
            break;
        default:
            report("Illegal character");
            kind = Bad;
            break;
    }
}

void Lexer::report(std::string_view message) {
    if (!ok) {
        return;
    }
    const char* through = *position == '\0' ? position : position + 1;
    diagnostic_.assign(start, through);
    diagnostic_ += "  ";
    diagnostic_ += message;
    diagnostic_ += '.';
    ok = false;
}

}  // namespace toven
