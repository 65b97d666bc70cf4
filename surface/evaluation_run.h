// f(x,y) evaluated in a run of many points. Every loop that evaluates f takes one where it
// begins: making it clears the upper vector state (platform/vector_state.h), which code that
// ran before may have left in use, so that the formula runs at full speed.
#pragma once

#include "expr/surface_function.h"
#include "platform/vector_state.h"

namespace toven {

class EvaluationRun {
  public:
    explicit EvaluationRun(FunctionXY& function) : function_(function) {
        platform::clear_upper_vector_state();
    }

    double operator()(double x, double y) const { return function_.evaluate(x, y); }

  private:
    FunctionXY& function_;
};

}  // namespace toven
