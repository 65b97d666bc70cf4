#include "surface/grid_function.h"

#include <limits>

namespace toven {

double GridFunction::evaluate(double x, double y) {
    return grid_.value_at(x, y).value_or(std::numeric_limits<double>::quiet_NaN());
}

double GridFunction::evaluate_shared(double x, double y, std::vector<double>& /*stack*/) const {
    return grid_.value_at(x, y).value_or(std::numeric_limits<double>::quiet_NaN());
}

}  // namespace toven
