#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/eval_pipe.h"
#include "app/render_command.h"
#include "app/user_tables.h"
#include "app/version.h"
#include "expr/c_number.h"
#include "expr/expression.h"
#include "expr/parser.h"
#include "expr/surface_function.h"
#include "surface/plot_globals.h"
#include "surface/plot_limits.h"

namespace toven {

namespace {

const char* const help_lines[] = {
    "Usage:",
    "  toven [NAME=VALUE ...]                    the interactive program, with those data",
    "  toven --render FILE [--size WxH] [--print-layout] [NAME=VALUE ...]",
    "  toven --eval FORMULA X Y [NAME=VALUE ...]",
    "  toven --eval FORMULA - [NAME=VALUE ...]",
    "  toven --help",
    "  toven --version",
    "",
    "--render draws one whole page, as a screen plot draws it (mini grid included), into",
    "  FILE: PNG, PDF or SVG by its extension, on a drawing area of WxH device pixels",
    "  (default 800x600). --print-layout draws the printer's layout instead.",
    "--eval compiles FORMULA, sets the named parameters, evaluates f(X, Y) once and prints",
    "  the value with %.17g. With - instead of X Y it reads one \"X Y\" pair a line from",
    "  standard input (blanks or a comma between, # starts a comment) and prints f for each;",
    "  a line that is not two numbers is reported with its number, and the status is 1.",
    "",
    "Each NAME=VALUE sets the data item called NAME, as the data windows do:",
    "  function data: a b c d e f(x,y)",
    "  graph data:    x1 x2 y1 y2 z1 z2 n m k tilt pc fc ax title",
    "  for example a=2, tilt=30, 'f(x,y)=x^2+y^2'. Given alone, they are the data the",
    "  window program starts with.",
    "",
    "Formulas: numbers, names, + - * / ^ (one ^ per factor), parentheses, |x| for the",
    "  absolute value, and sin cos tan atan exp log sqrt cosh sinh tanh fabs step. A name",
    "  that nothing sets is 0. Where log, sqrt or a division has no value, f is 0.",
    "",
    "A formula that does not parse prints its text up to the fault, two blanks and the",
    "  message.",
    "A bad formula, an unknown name, a bad number or graph data that cannot be plotted",
    "  give a message on standard error and exit status 1, and no file is written.",
    "FILE is replaced only once the new picture is completely written: a write error",
    "  (a full disk) gives exit status 1 with its cause and leaves FILE as it was. A FILE",
    "  that is a directory, device, FIFO or socket is refused; a link writes the file it",
    "  names.",
};

void print_help() {
    for (const char* line : help_lines) {
        std::puts(line);
    }
    std::printf("A formula may be up to %zu characters long and nest %d levels deep.\n",
                max_formula_length, max_nesting);
}

std::string_view trim_blanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The item record of fdata or sdata whose trimmed name is `name`, or null.
DataRecord* find_item(std::string_view name) {
    for (DataTable* table : {&fdata, &sdata}) {
        int count = item_count(*table);
        for (int i = 1; i <= count && i < table->size(); ++i) {
            if (trim_blanks((*table)[i].name) == name) {
                return &(*table)[i];
            }
        }
    }
    return nullptr;
}

std::string item_names() {
    std::string names;
    for (const DataTable* table : {&fdata, &sdata}) {
        int count = item_count(*table);
        for (int i = 1; i <= count && i < table->size(); ++i) {
            names += ' ';
            names += trim_blanks((*table)[i].name);
        }
    }
    return names;
}

// The NAME of "NAME=VALUE", blanks trimmed; empty without "=".
std::string_view assigned_name(std::string_view name_equals_value) {
    const std::size_t equals = name_equals_value.find('=');
    return equals == std::string_view::npos ? std::string_view()
                                            : trim_blanks(name_equals_value.substr(0, equals));
}

// A whole argument that strtod reads as a number.
bool read_number(const char* text, double& value) {
    const char* end = nullptr;
    value = c_strtod(text, &end);
    return end != text && *end == '\0';
}

// What was printed is the result, so output that did not reach its file (a full disk, a
// closed descriptor) is a failure with the system's cause, not a silent success.
int check_standard_output(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) {
        return status;
    }
    const int error = errno;
    return fail(std::string("cannot write to standard output: ") +
                (error != 0 ? std::strerror(error) : "write error"));
}

// toven --eval FORMULA X Y [NAME=VALUE ...]
int run_eval(int argc, char** argv) {
    // With "-" for X the points come from standard input, and the items follow it.
    const bool from_input = argc >= 4 && std::string_view(argv[3]) == "-";
    if (argc < 5 && !from_input) {
        return fail("--eval needs FORMULA X Y or FORMULA - (see toven --help)");
    }
    double x = 0;
    double y = 0;
    if (!from_input && !read_number(argv[3], x)) {
        return fail(std::string("X is not a number: '") + argv[3] + "'");
    }
    if (!from_input && !read_number(argv[4], y)) {
        return fail(std::string("Y is not a number: '") + argv[4] + "'");
    }
    const DataRecord& formula_record = fdata[item_count(fdata)];
    std::string formula_name(trim_blanks(formula_record.name));
    if (const auto refusal = apply_assignment(formula_name + "=" + argv[2])) {
        return fail(refusal->message);
    }
    for (int i = from_input ? 4 : 5; i < argc; ++i) {
        // Two formulas at once would leave one of them silently unused.
        if (assigned_name(argv[i]) == formula_name) {
            return fail("--eval takes the formula as FORMULA, so '" + formula_name +
                        "=' cannot be given too: '" + argv[i] + "'");
        }
        if (const auto refusal = apply_assignment(argv[i])) {
            return fail(refusal->message);
        }
    }
    SurfaceFunction function(fdata);
    if (!compile_or_report(function)) {
        return 1;
    }
    function.load_parameters();
    if (from_input) {
        return tabulate(function, stdin, stdout, stderr) == 0 ? 0 : 1;
    }
    std::printf("%.17g\n", function.evaluate(x, y));
    return 0;
}

}  // namespace

std::optional<platform::Refusal> apply_assignment(std::string_view name_equals_value) {
    const std::size_t equals = name_equals_value.find('=');
    if (equals == std::string_view::npos) {
        return platform::Refusal{"expected NAME=VALUE, not '" + std::string(name_equals_value) +
                                 "'"};
    }
    const std::string_view name = assigned_name(name_equals_value);
    DataRecord* record = name.empty() ? nullptr : find_item(name);
    if (record == nullptr) {
        return platform::Refusal{"unknown name '" + std::string(name) + "'; the names are" +
                                 item_names()};
    }
    std::string line = std::string(record->name) + " = ";
    line += name_equals_value.substr(equals + 1);
    set_line(*record, line.c_str());
    return std::nullopt;
}

bool is_option(const char* argument) {
    return argument[0] == '-';
}

int apply_start_items(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (const auto refusal = apply_assignment(argv[i])) {
            return fail(refusal->message);
        }
    }
    SurfaceFunction function(fdata);
    if (!compile_or_report(function)) {
        return 1;
    }
    load_graph_parameters(sdata);
    const GraphParameters& g = graph_parameters;
    if (const auto refusal =
            surface_refusal({g.x1, g.x2, g.y1, g.y2, g.z1, g.z2}, g.mesh(), g.tilt)) {
        return fail("cannot plot: " + refusal->message);
    }
    return 0;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "toven: %s\n", message.c_str());
    return 1;
}

bool compile_or_report(SurfaceFunction& function) {
    function.compile();
    if (!function.compiled) {
        std::fprintf(stderr, "%s\n", function.expression().diagnostic().c_str());
    }
    return function.compiled;
}

int run_command_line(int argc, char** argv) {
    std::string_view option = argc > 1 ? argv[1] : "";
    if (option == "--help" || option == "-h") {
        print_help();
        return check_standard_output(0);
    }
    if (option == "--version") {
        std::puts("toven " TOVEN_VERSION);
        return check_standard_output(0);
    }
    if (option == "--eval") {
        return check_standard_output(run_eval(argc, argv));
    }
    if (option == "--render") {
        return run_render_command(argc, argv);
    }
    return fail("unknown option '" + std::string(option) + "' (see toven --help)");
}

}  // namespace toven
