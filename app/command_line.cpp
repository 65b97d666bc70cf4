#include "app/command_line.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/data_file.h"
#include "app/data_items.h"
#include "app/eval_pipe.h"
#include "app/render_command.h"
#include "app/user_tables.h"
#include "app/version.h"
#include "expr/expression.h"
#include "expr/parser.h"
#include "expr/surface_function.h"
#include "surface/graph_parameters.h"
#include "surface/plot_globals.h"
#include "surface/plot_limits.h"
#include "surface/plot_work.h"

namespace toven {

namespace {

const char* const help_lines[] = {
    "Usage:",
    "  toven [NAME=VALUE ...]                    the interactive program, with those data",
    "  toven --render FILE [--size WxH] [--print-layout] [NAME=VALUE ...]",
    "  toven --render FILE --sweep NAME=FROM:TO:FRAMES [--fps N] [--size WxH] ...",
    "  toven --render FILE.stl [NAME=VALUE ...]",
    "  toven --eval FORMULA X Y [NAME=VALUE ...]",
    "  toven --eval FORMULA - [NAME=VALUE ...]",
    "  toven --help",
    "  toven --version",
    "",
    "--render draws one whole page, as a screen plot draws it (mini grid included), into",
    "  FILE: PNG, PDF or SVG by its extension, on a drawing area of WxH device pixels",
    "  (default 800x600). --print-layout draws the printer's layout instead.",
    "--sweep draws the page once a frame, frame i of FRAMES (2 to 1000) with the number",
    "  item NAME = FROM + i*(TO - FROM)/(FRAMES - 1), into an animated GIF that loops",
    "  (FILE.gif, --fps N frames a second, 1 to 50, default 20), or into one PNG, PDF or",
    "  SVG file a frame when FILE holds a frame number pattern: frame-%03d.png. If any",
    "  frame cannot be plotted, nothing is written.",
    "FILE.stl is the surface as a closed solid for a 3-D printer (binary STL): f on the",
    "  sampling lattice cut to z1..z2, walls and a flat base at z1, in the box's own",
    "  numbers (scale it in the slicer); at most 2,000,000 lattice cells (m k by n k).",
    "--eval compiles FORMULA, sets the named parameters, evaluates f(X, Y) once and prints",
    "  the value with %.17g (a NaN as nan). With - instead of X Y it reads one \"X Y\" pair a",
    "  line from standard input (blanks or a comma between, # starts a comment) and prints f",
    "  for each; a line that is not two numbers is reported with its number, and the status",
    "  is 1. A failed read or write ends the run with its cause and status 1.",
    "",
    "Each NAME=VALUE sets the data item called NAME, as the data windows do:",
    "  function data: a b c d e f(x,y)",
    "  graph data:    x1 x2 y1 y2 z1 z2 n m k tilt pc fc ax title",
    "  for example a=2, tilt=30, 'f(x,y)=x^2+y^2'. Given alone, they are the data the",
    "  window program starts with. A number takes one decimal number (2.5, -1e-3, +2, .5),",
    "  and n m k pc fc ax a whole number; blanks around it are ignored. The title, as every",
    "  line of a data window, holds 118 characters with its name.",
    "An argument that names an existing file is read as a data file (FILE.toven): one",
    "  NAME=VALUE item a line, # starts a comment line; later items win. Every picture",
    "  toven writes carries its data, so it reads as a data file too.",
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

// The NAME of "NAME=VALUE", blanks trimmed; empty without "=".
std::string_view assigned_name(std::string_view name_equals_value) {
    const std::size_t equals = name_equals_value.find('=');
    return equals == std::string_view::npos ? std::string_view()
                                            : trim_blanks(name_equals_value.substr(0, equals));
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

// toven --eval FORMULA -, once the formula is compiled: every line of standard input gives a
// value or a numbered message; a stream that fails is reported with the system's cause.
int tabulate_standard_input(FunctionXY& function) {
    const Tabulation run = tabulate(function, STDIN_FILENO, STDOUT_FILENO, stderr);
    if (run.write_error != 0) {
        return fail(std::string("cannot write to standard output: ") +
                    std::strerror(run.write_error));
    }
    if (run.read_error != 0) {
        return fail(std::string("cannot read standard input: ") + std::strerror(run.read_error));
    }
    return run.bad_lines == 0 ? 0 : 1;
}

// toven --eval FORMULA X Y [NAME=VALUE ...]
int run_eval(int argc, char** argv) {
    // With "-" for X the points come from standard input, and the items follow it.
    const bool from_input = argc >= 4 && std::string_view(argv[3]) == "-";
    if (argc < 5 && !from_input) {
        return fail("--eval needs FORMULA X Y or FORMULA - (see toven --help)");
    }
    const auto x = from_input ? std::optional<double>(0) : read_coordinate(argv[3]);
    if (!x) {
        return fail(std::string("X is not a number: '") + argv[3] + "'");
    }
    const auto y = from_input ? std::optional<double>(0) : read_coordinate(argv[4]);
    if (!y) {
        return fail(std::string("Y is not a number: '") + argv[4] + "'");
    }
    const DataRecord& formula_record = fdata[item_count(fdata)];
    std::string formula_name(trim_blanks(formula_record.name));
    for (int i = from_input ? 4 : 5; i < argc; ++i) {
        // Two formulas at once would leave one of them silently unused.
        if (assigned_name(argv[i]) == formula_name) {
            return fail("--eval takes the formula as FORMULA, so '" + formula_name +
                        "=' cannot be given too: '" + argv[i] + "'");
        }
        if (const auto refusal = apply_argument(argv[i])) {
            return fail(refusal->message);
        }
    }
    // Set last, so that FORMULA takes the place of a data file's formula.
    if (const auto refusal = apply_assignment(formula_name + "=" + argv[2])) {
        return fail(refusal->message);
    }
    SurfaceFunction function(fdata);
    if (!compile_or_report(function)) {
        return 1;
    }
    function.load_parameters();
    if (from_input) {
        return tabulate_standard_input(function);
    }
    char value[max_value_text + 1];
    *format_value(function.evaluate(*x, *y), value) = '\0';
    std::puts(value);
    return check_standard_output(0);
}

}  // namespace

std::optional<platform::Refusal> apply_assignment(std::string_view name_equals_value) {
    const std::size_t equals = name_equals_value.find('=');
    if (equals == std::string_view::npos) {
        return platform::Refusal{"expected NAME=VALUE, not '" + std::string(name_equals_value) +
                                 "'"};
    }
    return apply_item(name_equals_value.substr(0, equals), name_equals_value.substr(equals + 1));
}

bool is_option(const char* argument) {
    return argument[0] == '-';
}

int apply_start_items(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (const auto refusal = apply_argument(argv[i])) {
            return fail(refusal->message);
        }
    }
    SurfaceFunction function(fdata);
    if (!compile_or_report(function)) {
        return 1;
    }
    load_graph_parameters(sdata);
    const GraphParameters& g = graph_parameters;
    if (const auto refusal = surface_refusal(g.box(), g.mesh(), g.tilt)) {
        return fail("cannot plot: " + refusal->message);
    }
    // Evaluations too many for any window are refused before a window appears.
    function.load_parameters();
    const WorkSample sample = sample_plot_work(function, g.box(), g.mesh(), g.tilt);
    if (const auto refusal = evaluation_refusal(sample, g.mesh())) {
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
        return run_eval(argc, argv);
    }
    if (option == "--render") {
        return run_render_command(argc, argv);
    }
    return fail("unknown option '" + std::string(option) + "' (see toven --help)");
}

}  // namespace toven
