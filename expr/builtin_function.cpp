#include "expr/builtin_function.h"

#include <cmath>
#include <cstring>

#include "expr/error.h"

namespace toven {

namespace {

// A built-in defined for every argument: it returns whatever `operation` gives, infinities
// and values that are not numbers included, and never raises Error.
template <double (*operation)(double)>
class TotalFunction final : public BuiltinFunction {
  public:
    explicit constexpr TotalFunction(const char* function_name) : BuiltinFunction(function_name) {}
    double apply(double x) const override { return operation(x); }
};

// The two built-ins that raise Error outside their domain, naming themselves in it.
template <double (*operation)(double), bool (*outside_domain)(double)>
class PartialFunction final : public BuiltinFunction {
  public:
    explicit constexpr PartialFunction(const char* function_name)
        : BuiltinFunction(function_name) {}
    double apply(double x) const override {
        if (outside_domain(x)) {
            raise_error(name, x);
        }
        return operation(x);
    }
};

// Constant-initialised, so the table is complete before any dynamic initialiser of any
// translation unit runs (the data tables among them).
constinit const TotalFunction<[](double x) { return std::sin(x); }> sin_function("sin");
constinit const TotalFunction<[](double x) { return std::cos(x); }> cos_function("cos");
constinit const TotalFunction<[](double x) { return std::tan(x); }> tan_function("tan");
constinit const TotalFunction<[](double x) { return std::atan(x); }> atan_function("atan");
constinit const TotalFunction<[](double x) { return std::exp(x); }> exp_function("exp");
constinit const PartialFunction<[](double x) { return std::log(x); }, outside_log_domain>
    log_function("log");
constinit const PartialFunction<[](double x) { return std::sqrt(x); }, outside_sqrt_domain>
    sqrt_function("sqrt");
constinit const TotalFunction<[](double x) { return std::cosh(x); }> cosh_function("cosh");
constinit const TotalFunction<[](double x) { return std::sinh(x); }> sinh_function("sinh");
constinit const TotalFunction<[](double x) { return std::tanh(x); }> tanh_function("tanh");
constinit const TotalFunction<[](double x) { return std::fabs(x); }> fabs_function("fabs");
// A value that is not a number is not >= 0, so its step is 0.
constinit const TotalFunction<[](double x) { return x >= 0 ? 1.0 : 0.0; }> step_function("step");

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
