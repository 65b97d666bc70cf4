#include "expr/surface_function.h"

#include "expr/c_number.h"
#include "platform/programmer_error.h"

namespace toven {

double FunctionXY::evaluate_shared(double, double, std::vector<double>&) const {
    TOVEN_EXPECT(false, "only a function with shared evaluation is evaluated shared");
    return 0;
}

SurfaceFunction::SurfaceFunction(const DataTable& function_table)
    : table(function_table), parameter_count(toven::parameter_count(function_table)) {
    TOVEN_EXPECT(parameter_count >= 0 && parameter_count + 2 <= table.size(),
                 "the function table's header counts its records");
}

void SurfaceFunction::compile(ParseErrorReport report) {
    const DataRecord& formula = table[formula_record(table)];
    expression_.parse(record_value(formula), compiled);
    Symbol* symbols = expression_.lexer()->symbols.get();
    x_symbol_ = find_symbol(symbols, "x");
    y_symbol_ = find_symbol(symbols, "y");
    if (!compiled && report == ParseErrorReport::reported && parse_error_sink) {
        parse_error_sink(formula.line);
    }
}

void SurfaceFunction::load_parameters() {
    if (!compiled) {
        return;
    }
    Symbol* symbols = expression_.lexer()->symbols.get();
    for (int i = 1; i <= parameter_count; ++i) {
        set_variable(table[i].name, c_atof(record_value(table[i])), symbols);
    }
}

double SurfaceFunction::evaluate(double x, double y) {
    if (!compiled) {
        return 0;
    }
    if (x_symbol_ != nullptr) {
        x_symbol_->value = x;
    }
    if (y_symbol_ != nullptr) {
        y_symbol_->value = y;
    }
    return expression_.evaluate();
}

double SurfaceFunction::evaluate_shared(double x, double y, std::vector<double>& stack) const {
    return compiled ? expression_.evaluate_at(x, y, stack) : 0;
}

}  // namespace toven
