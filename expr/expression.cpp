#include "expr/expression.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <utility>

#include "expr/parser.h"

namespace toven {

namespace {

// A stack grown to at least this many slots keeps the few that a short formula writes cache
// lines away from another thread's stack, which the allocator may place right beside it:
// two threads writing one line at every step would take turns at it.
constexpr std::size_t min_stack_slots = 32;

}  // namespace

Expression::Expression() = default;

Expression::~Expression() {
    lexer_.reset();
    destroy_tree(std::move(root_));
}

void Expression::parse(const char* text, bool& ok) {
    lexer_.reset();
    program_.clear();
    parse_diagnostic_.clear();
    last_failure_ = {};
    if (std::strlen(text) > max_formula_length) {
        lexer_ = std::make_unique<Lexer>("");
        destroy_tree(std::move(root_));
        parse_diagnostic_ =
            "Formula longer than " + std::to_string(max_formula_length) + " characters.";
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
        parse_diagnostic_ = lexer_->diagnostic();
    }
}

double Expression::evaluate() {
    if (!compiled_) {
        return 0;
    }
    const Program::Outcome outcome = program_.run();
    if (outcome.failed != nullptr) {
        last_failure_ = outcome;
        return 0;
    }
    return outcome.value;
}

double Expression::evaluate_at(double x, double y, std::vector<double>& stack) const {
    if (!compiled_) {
        return 0;
    }
    if (stack.size() < program_.stack_size()) {
        stack.resize(std::max(program_.stack_size(), min_stack_slots));
    }
    const Program::Outcome outcome = program_.run(x, y, stack.data());
    return outcome.failed != nullptr ? 0 : outcome.value;
}

// "Domain error: " function "(" argument as %.6g formats it ")"
std::string Expression::diagnostic() const {
    if (last_failure_.failed == nullptr) {
        return parse_diagnostic_;
    }
    char argument[32];
    char* end = std::to_chars(argument, argument + sizeof argument, last_failure_.argument,
                              std::chars_format::general, 6)
                    .ptr;
    return std::string("Domain error: ") + last_failure_.failed + "(" +
           std::string(argument, static_cast<std::size_t>(end - argument)) + ")";
}

}  // namespace toven
