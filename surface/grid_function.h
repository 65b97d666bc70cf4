// A grid as the function f(x,y) that the surface drawing and the readout evaluate: its
// interpolated height, and a hole (NaN) in its holes and outside its nodes, where the drawing
// breaks its curves.
#pragma once

#include "expr/surface_function.h"
#include "surface/grid.h"

namespace toven {

class GridFunction final : public FunctionXY {
  public:
    // `grid` is not owned and must outlive the function; it has no grid_fault.
    explicit GridFunction(const Grid& grid) : grid_(grid) {}

    double evaluate(double x, double y) override;
    bool shared_evaluation() const override { return true; }
    double evaluate_shared(double x, double y, std::vector<double>& stack) const override;
    bool covers(double x, double y) const override { return grid_.value_at(x, y).has_value(); }

  private:
    const Grid& grid_;
};

}  // namespace toven
