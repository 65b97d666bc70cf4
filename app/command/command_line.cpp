#include "app/command/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <variant>

#include "app/command/arguments.h"
#include "app/command/command_output.h"
#include "app/command/eval_pipe.h"
#include "app/command/help_text.h"
#include "app/command/render_command.h"
#include "app/data_items.h"
#include "app/files/grid_file.h"
#include "app/version.h"
#include "expr/surface_function.h"
#include "platform/visible_text.h"
#include "surface/graph_parameters.h"
#include "surface/grid_function.h"
#include "surface/plot_work.h"
#include "surface/surface_plan.h"
#include "surface/uneven_nodes.h"

namespace toven {

namespace {

// toven --eval FORMULA -, once the formula is compiled: every line of standard input gives a
// value or a numbered message; a stream that fails is reported with the system's cause.
int tabulate_standard_input(FunctionXY& function) {
    const Tabulation run = tabulate(function, STDIN_FILENO, STDOUT_FILENO, stderr);
    if (run.write_error != 0) {
        return fail(std::string("Cannot write to standard output: ") +
                    std::strerror(run.write_error) + ".");
    }
    if (run.read_error != 0) {
        return fail(std::string("Cannot read standard input: ") + std::strerror(run.read_error) +
                    ".");
    }
    return run.bad_lines == 0 ? 0 : 1;
}

// f(x, y) on standard output; a point where `function` has no value is refused.
int print_value(FunctionXY& function, const std::string& source, double x, double y) {
    if (!function.covers(x, y)) {
        char point[80];
        std::snprintf(point, sizeof point, "%g, %g", x, y);
        return fail("The point \"" + std::string(point) + "\" lies outside the grid of \"" +
                    source + "\".");
    }
    char value[max_value_text + 1];
    *format_value(function.evaluate(x, y), value) = '\0';
    std::puts(value);
    return check_standard_output(0);
}

// The grid of the file that FORMULA names, when it names one. A folder is no grid, so the
// formula x stays a formula in a folder that holds a folder x.
std::optional<std::variant<GridFile, platform::Refusal>> grid_in_place(const char* formula) {
    struct stat info {};
    if (::stat(formula, &info) != 0 || S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    return read_grid_file(formula);
}

// toven --eval FORMULA X Y [NAME=VALUE ...]; a grid file may stand in for FORMULA.
int run_eval(AppData& state, int argc, char** argv) {
    // With "-" for X the points come from standard input, and the items follow it.
    const bool from_input = argc >= 4 && std::string_view(argv[3]) == "-";
    if (argc < 5 && !from_input) {
        return fail("The option --eval needs FORMULA X Y or FORMULA - (see toven --help).");
    }
    const auto x = from_input ? std::optional<double>(0) : read_coordinate(argv[3]);
    if (!x) {
        return fail("X is not a number: " + platform::quoted(argv[3]) + ".");
    }
    const auto y = from_input ? std::optional<double>(0) : read_coordinate(argv[4]);
    if (!y) {
        return fail("Y is not a number: " + platform::quoted(argv[4]) + ".");
    }
    const ArgumentRules rules{.command = "--eval", .formula_item = false};
    if (const auto refusal =
            read_arguments(state, std::span(argv + (from_input ? 4 : 5), argv + argc), rules)) {
        return fail(refusal->message);
    }
    // FORMULA is the surface; a grid among the items would be left unused without a word.
    if (state.grid) {
        return fail("With --eval the surface comes as FORMULA, so the grid of " +
                    platform::quoted_path(state.grid_path) +
                    " cannot be given too; give the grid file as FORMULA.");
    }
    if (auto grid = grid_in_place(argv[2])) {
        if (const auto* refusal = std::get_if<platform::Refusal>(&*grid)) {
            return fail(refusal->message);
        }
        GridFunction heights(std::get<GridFile>(*grid).grid);
        return from_input ? tabulate_standard_input(heights)
                          : print_value(heights, argv[2], *x, *y);
    }
    // Set last, so that FORMULA takes the place of a data file's formula.
    const std::string formula_name(trim_blanks(state.fdata[formula_record(state.fdata)].name));
    if (const auto refusal = apply_item(state, formula_name, argv[2])) {
        return fail(refusal->message);
    }
    SurfaceFunction function(state.fdata);
    if (!compile_or_report(function)) {
        return 1;
    }
    function.load_parameters();
    if (from_input) {
        return tabulate_standard_input(function);
    }
    return print_value(function, argv[2], *x, *y);
}

}  // namespace

bool is_option(const char* argument) {
    return argument[0] == '-';
}

std::optional<std::string> start_items_refusal(AppData& state, int argc, char** argv) {
    const ArgumentRules rules{.command = "the window program"};
    if (const auto refusal = read_arguments(state, std::span(argv + 1, argv + argc), rules)) {
        return refusal->message;
    }
    SurfaceFunction formula(state.fdata);
    std::optional<GridFunction> grid_heights;
    if (state.grid) {
        grid_heights.emplace(*state.grid);
    } else {
        formula.compile();
        if (!formula.compiled) {
            return formula.expression().diagnostic();
        }
    }
    const GraphParameters g = load_graph_parameters(state.sdata);
    const auto plan =
        plan_surface(state.grid ? with_grid_nodes(g.surface(), *state.grid) : g.surface());
    if (const auto* refusal = std::get_if<platform::Refusal>(&plan)) {
        return refusal->message;
    }
    // Evaluations too many for any window are refused before a window appears.
    formula.load_parameters();
    FunctionXY& function = grid_heights ? static_cast<FunctionXY&>(*grid_heights) : formula;
    const WorkSample sample = sample_plot_work(function, std::get<SurfacePlan>(plan));
    if (const auto refusal = evaluation_refusal(sample)) {
        return refusal->message;
    }
    return std::nullopt;
}

int run_command_line(int argc, char** argv) {
    std::string_view option = argc > 1 ? argv[1] : "";
    if (option == "--help" || option == "-h") {
        std::fputs(command_line_help().c_str(), stdout);
        return check_standard_output(0);
    }
    if (option == "--version") {
        std::puts("toven " TOVEN_VERSION);
        return check_standard_output(0);
    }
    AppData state;
    if (option == "--eval") {
        return run_eval(state, argc, argv);
    }
    if (option == "--render") {
        return run_render_command(state, argc, argv);
    }
    return fail("Unknown option " + platform::quoted(option) + " (see toven --help).");
}

}  // namespace toven
