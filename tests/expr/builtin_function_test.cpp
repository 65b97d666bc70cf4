#include "expr/builtin_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "expr/symbol.h"

namespace toven {
namespace {

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

double apply(const char* name, double x) {
    return find_function(name)->apply(x);
}

TEST(BuiltinFunctions, TableListsTwelveInOrderThenEnds) {
    const char* names[] = {"sin",  "cos",  "tan",  "atan", "exp",  "log",
                           "sqrt", "cosh", "sinh", "tanh", "fabs", "step"};
    for (int i = 0; i < builtin_function_count; ++i) {
        ASSERT_NE(builtin_functions[i], nullptr);
        EXPECT_STREQ(builtin_functions[i]->name, names[i]);
    }
    EXPECT_EQ(builtin_functions[builtin_function_count], nullptr);
}

TEST(BuiltinFunctions, LookupIsExactAndCaseSensitive) {
    EXPECT_EQ(find_function("sin"), builtin_functions[0]);
    EXPECT_EQ(find_function("Sin"), nullptr);
    EXPECT_EQ(find_function("si"), nullptr);
    EXPECT_EQ(find_function("sine"), nullptr);
    EXPECT_EQ(find_function(""), nullptr);
}

struct ValueCase {
    const char* function;
    double x;
    double expected;
};

TEST(BuiltinFunctions, Values) {
    const ValueCase cases[] = {
        {"sin", 1, std::sin(1.0)},
        {"cos", 1, std::cos(1.0)},
        {"tan", 1, std::tan(1.0)},
        {"atan", 1, M_PI / 4},
        {"exp", 1000, infinity},
        {"exp", -1000, 0},
        {"log", 1, 0},
        {"log", M_E, std::log(M_E)},
        {"sqrt", 2, std::sqrt(2.0)},
        {"cosh", 1000, infinity},
        {"sinh", -1000, -infinity},
        {"tanh", 1000, 1},
        {"fabs", -2.5, 2.5},
        {"step", 0, 1},
        {"step", -0.0, 1},
        {"step", -1e-300, 0},
        {"step", nan_value, 0},
        {"step", infinity, 1},
    };
    for (const ValueCase& c : cases) {
        EXPECT_EQ(apply(c.function, c.x), c.expected) << c.function << "(" << c.x << ")";
    }
}

TEST(BuiltinFunctions, SqrtOfMinusZeroIsMinusZero) {
    double root = apply("sqrt", -0.0);
    EXPECT_EQ(root, 0);
    EXPECT_TRUE(std::signbit(root));
}

// Where log and sqrt have no value in a formula: at and below 0 for log (-0 included), below
// 0 for sqrt (-0 is its own root), and for a value that is not a number.
TEST(BuiltinFunctions, LogAndSqrtDomainsEndWhereTheyHaveNoValue) {
    struct Case {
        bool (*outside)(double);
        const char* name;
        double x;
        bool expected;
    } cases[] = {
        {outside_log_domain, "log", 0, true},
        {outside_log_domain, "log", -0.0, true},
        {outside_log_domain, "log", -1, true},
        {outside_log_domain, "log", nan_value, true},
        {outside_log_domain, "log", 1e-320, false},
        {outside_sqrt_domain, "sqrt", -1e-300, true},
        {outside_sqrt_domain, "sqrt", nan_value, true},
        {outside_sqrt_domain, "sqrt", -0.0, false},
        {outside_sqrt_domain, "sqrt", 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.outside(c.x), c.expected) << c.name << "(" << c.x << ")";
    }
}

TEST(SymbolTable, FindOrAddInsertsOnceWithValueZero) {
    std::unique_ptr<Symbol> root;
    Symbol& a = find_or_add(root, "a");
    a.value = 4;
    EXPECT_EQ(&find_or_add(root, "a"), &a);
    EXPECT_EQ(a.value, 4);
    EXPECT_EQ(find_or_add(root, "b").value, 0);
}

TEST(SymbolTable, OrderedLikeStrcmpOnUnsignedBytes) {
    std::unique_ptr<Symbol> root;
    find_or_add(root, "b");
    find_or_add(root, "B");
    find_or_add(root, "ba");
    find_or_add(root, "b1");
    find_or_add(root, "\xe9");
    EXPECT_EQ(root->left->name, "B");
    ASSERT_NE(root->right, nullptr);
    EXPECT_EQ(root->right->name, "ba");
    EXPECT_EQ(root->right->left->name, "b1");
    EXPECT_EQ(root->right->right->name, "\xe9");
}

TEST(SymbolTable, SetVariableNeverInserts) {
    std::unique_ptr<Symbol> root;
    find_or_add(root, "x");
    set_variable("y", 2, root.get());
    set_variable("x", 3, root.get());
    EXPECT_EQ(root->value, 3);
    EXPECT_EQ(root->left, nullptr);
    EXPECT_EQ(root->right, nullptr);
    EXPECT_EQ(find_symbol(root.get(), "y"), nullptr);
    set_variable("x", 1, nullptr);
}

TEST(SymbolTable, ADegenerateTreeIsDestroyedWithoutRecursion) {
    std::unique_ptr<Symbol> root;
    Symbol* last = nullptr;
    for (int i = 0; i < 200000; ++i) {
        // Sorted insertions make a chain; appending at its end keeps this test linear.
        std::string name = "n";
        name += std::to_string(1000000 + i);
        auto node = std::make_unique<Symbol>(name.c_str());
        Symbol* raw = node.get();
        if (last == nullptr) {
            root = std::move(node);
        } else {
            last->right = std::move(node);
        }
        last = raw;
    }
    EXPECT_EQ(find_symbol(root.get(), "n1000001")->name, "n1000001");
    root.reset();
}

}  // namespace
}  // namespace toven
