#include "expr/builtin_function.h"

#include <cmath>
#include <cstring>

namespace toven {

namespace {

// A built-in is its C library operation; the domains of log and sqrt are tested where a
// formula is evaluated.
template <double (*operation)(double)>
class Function final : public BuiltinFunction {
  public:
    explicit constexpr Function(const char* function_name) : BuiltinFunction(function_name) {}
    double apply(double x) const override { return operation(x); }
};

// Constant-initialised, so the table is complete before any dynamic initialiser of any
// translation unit runs (the data tables among them).
constinit const Function<[](double x) { return std::sin(x); }> sin_function("sin");
constinit const Function<[](double x) { return std::cos(x); }> cos_function("cos");
constinit const Function<[](double x) { return std::tan(x); }> tan_function("tan");
constinit const Function<[](double x) { return std::atan(x); }> atan_function("atan");
constinit const Function<[](double x) { return std::exp(x); }> exp_function("exp");
constinit const Function<[](double x) { return std::log(x); }> log_function("log");
constinit const Function<[](double x) { return std::sqrt(x); }> sqrt_function("sqrt");
constinit const Function<[](double x) { return std::cosh(x); }> cosh_function("cosh");
constinit const Function<[](double x) { return std::sinh(x); }> sinh_function("sinh");
constinit const Function<[](double x) { return std::tanh(x); }> tanh_function("tanh");
constinit const Function<[](double x) { return std::fabs(x); }> fabs_function("fabs");
// A value that is not a number is not >= 0, so its step is 0.
constinit const Function<[](double x) { return x >= 0 ? 1.0 : 0.0; }> step_function("step");

}  // namespace

constinit const BuiltinFunction* const builtin_functions[builtin_function_count + 1] = {
    &sin_function,  &cos_function,  &tan_function,  &atan_function, &exp_function,
    &log_function,  &sqrt_function, &cosh_function, &sinh_function, &tanh_function,
    &fabs_function, &step_function, nullptr};

const BuiltinFunction* find_function(const char* name) {
    for (const BuiltinFunction* const* entry = builtin_functions; *entry != nullptr; ++entry) {
        if (std::strcmp((*entry)->name, name) == 0) {
            return *entry;
        }
    }
    return nullptr;
}

}  // namespace toven
