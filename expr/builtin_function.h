// The twelve functions of one argument that a formula may call. They are constant objects
// that live for the whole run; `builtin_functions` lists them, ended by a null entry.
#pragma once

#include <cstddef>

namespace toven {

class BuiltinFunction {
  public:
    static constexpr std::size_t max_name_length = 7;

    explicit constexpr BuiltinFunction(const char* function_name) {
        for (std::size_t i = 0; i < max_name_length && function_name[i] != '\0'; ++i) {
            name[i] = function_name[i];
        }
    }
    BuiltinFunction(const BuiltinFunction&) = delete;
    BuiltinFunction& operator=(const BuiltinFunction&) = delete;

    // The C library's operation, whatever the argument. Outside the domains of log and sqrt
    // a formula has no value: the caller tests outside_log_domain and outside_sqrt_domain.
    virtual double apply(double x) const = 0;

    char name[max_name_length + 1] = {};

  protected:
    ~BuiltinFunction() = default;
};

inline constexpr int builtin_function_count = 12;

extern const BuiltinFunction* const builtin_functions[builtin_function_count + 1];

// The arguments outside the domains of log and sqrt, where a formula has no value. A value
// that is not a number is outside both: the comparisons are false for it.
inline bool outside_log_domain(double x) {
    return !(x > 0);
}
inline bool outside_sqrt_domain(double x) {
    return !(x >= 0);
}

// The built-in called exactly `name` (case-sensitive), or null.
const BuiltinFunction* find_function(const char* name);

}  // namespace toven
