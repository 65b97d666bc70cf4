// f(x,y) as the plot sees it. SurfaceFunction binds the fdata table (not owned; it must
// outlive the object) to the engine: compile the last item record's formula, load the other
// item records into the formula's variables, evaluate. A formula that did not compile
// evaluates to 0 everywhere.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "expr/data_table.h"
#include "expr/expression.h"

namespace toven {

// Whether compile reports a formula that does not parse: a silent compile serves a check made
// before the plot, whose own compile reports it.
enum class ParseErrorReport { reported, silent };

// Where a formula that does not parse is reported, given the formula record's line; the app
// sets it and shows the fault to the person.
using ParseErrorSink = std::function<void(const std::string& formula_line)>;

class FunctionXY {
  public:
    virtual double evaluate(double x, double y) = 0;
    // Whether evaluate_shared may run on several threads at once.
    virtual bool shared_evaluation() const { return false; }
    // f(x, y) as evaluate gives it, changing nothing: with shared_evaluation, threads may call
    // it at once, each with a `stack` of its own, while nothing calls evaluate or changes the
    // function. Without it, only evaluate may be called.
    virtual double evaluate_shared(double x, double y, std::vector<double>& stack) const;
    // Whether (x, y) lies where the function has values at all; measured heights have none
    // beyond their outermost nodes.
    virtual bool covers(double /*x*/, double /*y*/) const { return true; }

  protected:
    ~FunctionXY() = default;
};

class SurfaceFunction final : public FunctionXY {
  public:
    explicit SurfaceFunction(const DataTable& function_table);

    // Parses the formula record's value; on failure tells `parse_error_sink` when it is set
    // and `report` is reported, and is silent otherwise.
    void compile(ParseErrorReport report = ParseErrorReport::reported);
    // Assigns each parameter record's value (atof) to the variable of its name.
    void load_parameters();
    double evaluate(double x, double y) override;
    bool shared_evaluation() const override { return true; }
    double evaluate_shared(double x, double y, std::vector<double>& stack) const override;

    const Expression& expression() const { return expression_; }

    const DataTable& table;
    int parameter_count;
    bool compiled = false;
    ParseErrorSink parse_error_sink;  // null: a formula that does not parse is not reported

  private:
    Expression expression_;
    // The symbols of x and y, looked up once per compile rather than at every point.
    Symbol* x_symbol_ = nullptr;
    Symbol* y_symbol_ = nullptr;
};

}  // namespace toven
