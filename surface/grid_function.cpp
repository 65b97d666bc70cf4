#include "surface/grid_function.h"

#include <limits>

namespace toven {

double GridFunction::evaluate(double x, double y) {
    return grid_.value_at(x, y).value_or(std::numeric_limits<double>::quiet_NaN());
}

}  // namespace toven
