// Any text as the values of any fdata and sdata items, typed as a person types them into the
// data boxes, then a whole page drawn on an offscreen picture, in the screen layout (with a
// mouse readout) or in the printer's layout. The page must be drawn or refused with a
// message, within libFuzzer's time limit per input, and every drawing object given back.
//
// Input: lines separated by '\n'. The first byte of a line picks the item (and whether the
// rest is its value after the name's prefix, or the whole line with the prefix as typed);
// the rest of the line is the text. The first two bytes of the input also give the page's
// size; the input's last byte picks the layout, whether the page is also recorded for vector
// files, and the mouse position.
//
// Work: a plot the limits allow may take seconds under the sanitizers, and most inputs are
// about something else (a value's text, the box, the tilt, a colour). So the mesh of an
// input is made smaller until the plot fits a small budget, and the page is small. Only an
// input signed as large work (fuzz/sign-large-seed) keeps its mesh and gets a full-size
// page: those of fuzz/large/fuzz_plot, which run-all runs once each, outside the corpus that
// is mutated. A mutant of a signed input would not match its signature any more.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "expr/item_table.h"
#include "expr/surface_function.h"
#include "fuzz/fuzz_support.h"
#include "platform/drawing_objects.h"
#include "platform/window.h"
#include "surface/graph_parameters.h"
#include "surface/plot_driver.h"
#include "surface/plot_limits.h"
#include "surface/surface_plan.h"

using namespace toven;

namespace {

constexpr int small_page_width = 160;
constexpr int small_page_height = 120;
constexpr int large_page_width = 800;
constexpr int large_page_height = 600;

// Evaluations times (formula length + 16): an evaluation costs about in proportion to the
// formula's text. 30,000 is some 850 evaluations of the default formula, well under a
// millisecond under the sanitizers, no more than the rest of the page costs.
constexpr double work_budget = 30'000;
constexpr double work_per_evaluation_base = 16;

struct Tables {
    DataTable fdata;
    DataTable sdata;
};

struct Page {
    int width = small_page_width;
    int height = small_page_height;
    bool print_layout = false;
    platform::OffscreenRecording recording = platform::OffscreenRecording::vector_pages;
    int mouse_x = 0;
    int mouse_y = 0;
};

DataRecord& pick_item(Tables& tables, unsigned choice) {
    const int function_items = item_count(tables.fdata);
    const int graph_items = item_count(tables.sdata);
    const int item = static_cast<int>(choice % static_cast<unsigned>(function_items + graph_items));
    return item < function_items ? tables.fdata[item + 1] : tables.sdata[item - function_items + 1];
}

void type_line(Tables& tables, std::string_view line) {
    if (line.empty()) {
        return;
    }
    const auto choice = static_cast<unsigned char>(line[0]);
    DataRecord& record = pick_item(tables, choice >> 1);
    const std::string text =
        fuzz::typed_text(reinterpret_cast<const std::uint8_t*>(line.data()) + 1, line.size() - 1,
                         fuzz::longest_line);
    const bool whole_line = (choice & 1) != 0;
    std::string typed = whole_line ? text : std::string(record.name) + " = " + text;
    if (typed.size() > fuzz::longest_line) {
        typed.resize(fuzz::longest_line);
    }
    set_line(record, typed.c_str());
}

void type_lines(Tables& tables, std::string_view input) {
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        type_line(tables, input.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        input.remove_prefix(end + 1);
    }
}

double fuzz_work(const Mesh& mesh, std::size_t formula_length) {
    return evaluation_count(mesh) *
           (work_per_evaluation_base + static_cast<double>(formula_length));
}

void set_number(DataRecord& record, int value) {
    const std::string line = std::string(record.name) + " = " + std::to_string(value);
    set_line(record, line.c_str());
}

// A mesh the limits allow but the budget does not is halved, k first, then the larger of n
// and m, until it fits; its box, tilt, colours and formula stay as typed. A mesh the limits
// refuse stays too: its refusal costs nothing.
void fit_mesh_to_budget(Tables& tables) {
    const GraphParameters g = load_graph_parameters(tables.sdata);
    const std::size_t formula_length = tables.fdata[formula_record(tables.fdata)].value().size();
    Mesh mesh{g.n, g.m, g.k};
    auto& [n, m, k] = mesh;
    if (fuzz_work(mesh, formula_length) <= work_budget ||
        surface_refusal({g.box(), mesh, g.tilt})) {
        return;
    }
    while (fuzz_work(mesh, formula_length) > work_budget && n * m * k > 1) {
        if (k > 1) {
            k /= 2;
        } else if (n >= m) {
            n = n / 2 > 0 ? n / 2 : 1;
        } else {
            m = m / 2 > 0 ? m / 2 : 1;
        }
    }
    set_number(tables.sdata[record_number("n")], n);
    set_number(tables.sdata[record_number("m")], m);
    set_number(tables.sdata[record_number("k")], k);
}

// FNV-1a, 64 bits: enough to tell a seed from a mutant of it.
std::uint64_t fingerprint(std::string_view text) {
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    return hash;
}

// An input that ends in "\n#large " and the fingerprint of what precedes it (16 lowercase
// hex digits) is large work; the signature is taken off.
bool take_large_signature(std::string_view& input) {
    constexpr std::string_view mark = "\n#large ";
    constexpr std::size_t digits = 16;
    if (input.size() < mark.size() + digits) {
        return false;
    }
    const std::size_t at = input.size() - mark.size() - digits;
    if (input.substr(at, mark.size()) != mark) {
        return false;
    }
    char expected[digits + 1];
    std::snprintf(expected, sizeof expected, "%016llx",
                  static_cast<unsigned long long>(fingerprint(input.substr(0, at))));
    if (input.substr(at + mark.size()) != std::string_view(expected, digits)) {
        return false;
    }
    input = input.substr(0, at);
    return true;
}

Page page_of(std::string_view input, bool large) {
    Page page;
    const auto byte = [&](std::size_t i) {
        return i < input.size() ? static_cast<unsigned char>(input[i]) : 0u;
    };
    if (large) {
        page.width = large_page_width;
        page.height = large_page_height;
    } else {
        page.width = 1 + static_cast<int>(byte(0) % small_page_width);
        page.height = 1 + static_cast<int>(byte(1) % small_page_height);
    }
    const unsigned last = input.empty() ? 0 : byte(input.size() - 1);
    page.print_layout = (last & 1) != 0;
    if ((last & 2) != 0) {
        page.recording = platform::OffscreenRecording::image_only;
    }
    page.mouse_x = static_cast<int>((last >> 2) * 7 % static_cast<unsigned>(page.width));
    page.mouse_y = static_cast<int>((last >> 2) * 5 % static_cast<unsigned>(page.height));
    return page;
}

void check_refusal(const std::optional<platform::Refusal>& refusal, const std::string& input) {
    if (refusal && (refusal->message.empty() || refusal->message.back() != '.')) {
        fuzz::fail("the refusal '" + refusal->message + "' is not a whole sentence", input);
    }
}

void draw_page(Tables& tables, const Page& page, const std::string& input) {
    const auto window = platform::create_offscreen_window(page.width, page.height, page.recording);
    SurfacePlotter plotter(window.get());
    SurfaceFunction function(tables.fdata);
    GraphParameters graph_parameters;
    bool readout_ready = false;
    PlotContext context{plotter,          function,      tables.fdata, tables.sdata,
                        graph_parameters, readout_ready, page.mouse_x, page.mouse_y};
    context.print_layout = page.print_layout;
    check_refusal(draw_plot(context, plot_page, screen_output), input);
    if (!page.print_layout) {
        draw_plot(context, plot_readout, screen_output);
    }
    // As --render does: the printer's layout has ended output itself, and ending it again
    // must be harmless.
    plotter.end_output();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::start_session();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Tables defaults{default_table(TableName::fdata), default_table(TableName::sdata)};
    Tables tables = defaults;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string_view lines = input;
    const bool large = take_large_signature(lines);
    type_lines(tables, lines);
    if (!large) {
        fit_mesh_to_budget(tables);
    }

    const auto before = platform::live_objects();
    // One page per input, so the time limit holds for one plot.
    draw_page(tables, page_of(lines, large), input);
    if (!(platform::live_objects() == before)) {
        fuzz::fail("a page did not give back every drawing object", input);
    }
    return 0;
}
