#include "expr/builtin_function.h"

#include <cmath>
#include <cstring>
#include <new>

#include "expr/error.h"

namespace toven {

void raise_error(const char* function, double argument) {
    throw new (std::nothrow) Error{function, argument};
}

namespace {

class SinFunction final : public BuiltinFunction {
  public:
    constexpr SinFunction() : BuiltinFunction("sin") {}
    double apply(double x) const override { return std::sin(x); }
};

class CosFunction final : public BuiltinFunction {
  public:
    constexpr CosFunction() : BuiltinFunction("cos") {}
    double apply(double x) const override { return std::cos(x); }
};

class TanFunction final : public BuiltinFunction {
  public:
    constexpr TanFunction() : BuiltinFunction("tan") {}
    double apply(double x) const override { return std::tan(x); }
};

class AtanFunction final : public BuiltinFunction {
  public:
    constexpr AtanFunction() : BuiltinFunction("atan") {}
    double apply(double x) const override { return std::atan(x); }
};

class ExpFunction final : public BuiltinFunction {
  public:
    constexpr ExpFunction() : BuiltinFunction("exp") {}
    double apply(double x) const override { return std::exp(x); }
};

class LogFunction final : public BuiltinFunction {
  public:
    constexpr LogFunction() : BuiltinFunction("log") {}
    double apply(double x) const override {
        if (!(x > 0)) {
            raise_error("log", x);
        }
        return std::log(x);
    }
};

class SqrtFunction final : public BuiltinFunction {
  public:
    constexpr SqrtFunction() : BuiltinFunction("sqrt") {}
    double apply(double x) const override {
        if (!(x >= 0)) {
            raise_error("sqrt", x);
        }
        return std::sqrt(x);
    }
};

class CoshFunction final : public BuiltinFunction {
  public:
    constexpr CoshFunction() : BuiltinFunction("cosh") {}
    double apply(double x) const override { return std::cosh(x); }
};

class SinhFunction final : public BuiltinFunction {
  public:
    constexpr SinhFunction() : BuiltinFunction("sinh") {}
    double apply(double x) const override { return std::sinh(x); }
};

class TanhFunction final : public BuiltinFunction {
  public:
    constexpr TanhFunction() : BuiltinFunction("tanh") {}
    double apply(double x) const override { return std::tanh(x); }
};

class FabsFunction final : public BuiltinFunction {
  public:
    constexpr FabsFunction() : BuiltinFunction("fabs") {}
    double apply(double x) const override { return std::fabs(x); }
};

class StepFunction final : public BuiltinFunction {
  public:
    constexpr StepFunction() : BuiltinFunction("step") {}
    double apply(double x) const override { return x >= 0 ? 1.0 : 0.0; }
};

// Constant-initialised, so the table is complete before any dynamic initialiser of any
// translation unit runs (the data tables among them).
constinit const SinFunction sin_function;
constinit const CosFunction cos_function;
constinit const TanFunction tan_function;
constinit const AtanFunction atan_function;
constinit const ExpFunction exp_function;
constinit const LogFunction log_function;
constinit const SqrtFunction sqrt_function;
constinit const CoshFunction cosh_function;
constinit const SinhFunction sinh_function;
constinit const TanhFunction tanh_function;
constinit const FabsFunction fabs_function;
constinit const StepFunction step_function;

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
