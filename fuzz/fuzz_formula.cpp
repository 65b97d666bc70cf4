// Any bytes as the formula of fdata, as a person could type it into the formula's line:
// compiled, its parameters loaded and evaluated at a few points. Checks that a formula that
// does not parse evaluates to 0 everywhere with a diagnostic that quotes the formula, that a
// parse leaves no diagnostic behind, and that compiling the same text twice gives the same
// function.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "expr/item_table.h"
#include "expr/surface_function.h"
#include "fuzz/fuzz_support.h"

using namespace toven;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct Point {
    double x;
    double y;
};

constexpr std::array<Point, 7> points = {{
    {0, 0},
    {1, -1},
    {-0.5, 0.25},
    {1e308, -1e308},
    {4.9e-324, -0.0},
    {inf, -inf},
    {nan, 2},
}};

// Parameter values a person might type for a..e: the defaults, then awkward ones.
constexpr std::array<std::array<const char*, 5>, 2> parameter_sets = {{
    {"3", "3", "1", "1", "1"},
    {"-2.5", "1e308", "nan", "-0", "1e-320x"},
}};

bool same_value(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// The formula record: either its line with the name's prefix and the typed formula, or the
// typed text as the whole line, prefix included, as a person editing the prefix would leave it.
void type_formula(DataTable& table, const std::string& typed, bool whole_line) {
    DataRecord& formula = table[item_count(table)];
    const std::string line = whole_line ? typed : std::string(formula.name) + " = " + typed;
    set_line(formula, line.c_str());
}

void set_parameters(DataTable& table, const std::array<const char*, 5>& values) {
    for (int i = 1; i <= 5; ++i) {
        const std::string line = std::string(table[i].name) + " = " + values[i - 1];
        set_line(table[i], line.c_str());
    }
}

void check_failed_parse(SurfaceFunction& function, const std::string& formula) {
    const std::string& diagnostic = function.expression().diagnostic();
    const std::size_t gap = diagnostic.rfind("  ");
    if (gap == std::string::npos || diagnostic.back() != '.' ||
        diagnostic.compare(0, gap, formula, 0, gap) != 0 || gap > formula.size()) {
        fuzz::fail("the diagnostic '" + diagnostic + "' does not quote the formula", formula);
    }
    for (const Point& p : points) {
        if (function.evaluate(p.x, p.y) != 0) {
            fuzz::fail("a formula that did not parse evaluates to something else than 0", formula);
        }
    }
}

void check_same_function(SurfaceFunction& first, SurfaceFunction& second,
                         const std::string& formula) {
    if (first.compiled != second.compiled) {
        fuzz::fail("two compiles of the same text disagree on whether it parsed", formula);
    }
    for (const Point& p : points) {
        if (!same_value(first.evaluate(p.x, p.y), second.evaluate(p.x, p.y))) {
            fuzz::fail("two compiles of the same text give different values", formula);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::start_session();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool whole_line = (data[0] & 1) != 0;
    const std::string typed = fuzz::typed_text(data + 1, size - 1, fuzz::longest_line);
    static const DataTable defaults = default_table(TableName::fdata);
    DataTable table = defaults;
    type_formula(table, typed, whole_line);
    const std::string formula = record_value(table[formula_record(table)]);

    for (const auto& parameters : parameter_sets) {
        set_parameters(table, parameters);
        SurfaceFunction first(table);
        first.compile();
        if (!first.compiled) {
            check_failed_parse(first, formula);
        } else if (!first.expression().diagnostic().empty()) {
            fuzz::fail("a formula that parsed left a diagnostic", formula);
        }
        first.load_parameters();
        SurfaceFunction second(table);
        second.compile();
        second.load_parameters();
        check_same_function(first, second, formula);
        first.compile();
        first.load_parameters();
        check_same_function(first, second, formula);
    }
    return 0;
}
