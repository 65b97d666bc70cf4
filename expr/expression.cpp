#include "expr/expression.h"

#include <charconv>
#include <cstring>
#include <string>
#include <utility>

#include "expr/parser.h"

namespace toven {

namespace {

// Room for the longest "Domain error: " diagnostic, so composing one never allocates.
constexpr std::size_t domain_diagnostic_capacity = 64;

}  // namespace

Expression::Expression() {
    diagnostic_.reserve(domain_diagnostic_capacity);
}

Expression::~Expression() {
    lexer_.reset();
    destroy_tree(std::move(root_));
}

void Expression::parse(const char* text, bool& ok) {
    lexer_.reset();
    program_.clear();
    diagnostic_.clear();
    if (std::strlen(text) > max_formula_length) {
        lexer_ = std::make_unique<Lexer>("");
        destroy_tree(std::move(root_));
        diagnostic_ = "Formula longer than " + std::to_string(max_formula_length) + " characters.";
        compiled_ = ok = false;
        return;
    }
    lexer_ = std::make_unique<Lexer>(text);
    destroy_tree(std::move(root_));
    root_ = Parser(*lexer_).parse();
    compiled_ = ok = lexer_->ok;
    if (ok) {
        program_.compile(*root_);
    } else {
        diagnostic_ = lexer_->diagnostic();
    }
}

double Expression::evaluate() {
    if (!compiled_) {
        return 0;
    }
    try {
        return program_.run();
    } catch (Error* error) {
        compose_domain_error(error);
        delete error;
        return 0;
    }
}

// "Domain error: " function "(" argument as %.6g formats it ")"
void Expression::compose_domain_error(const Error* error) noexcept {
    char text[domain_diagnostic_capacity] = "Domain error: ";
    char* end = text + std::strlen(text);
    char* const limit = text + sizeof text - 2;
    if (error != nullptr) {
        std::size_t name_length = std::strlen(error->function);
        std::memcpy(end, error->function, name_length);
        end += name_length;
        *end++ = '(';
        end = std::to_chars(end, limit, error->argument, std::chars_format::general, 6).ptr;
        *end++ = ')';
    }
    diagnostic_.assign(text, end);
}

}  // namespace toven
