// Any text as the values of any fdata and sdata items, typed as a person types them into the
// data boxes, then a whole page drawn on a small offscreen picture, in the screen layout (with
// a mouse readout) or in the printer's layout. The page must be drawn or refused with a
// message, within libFuzzer's time limit per input, and every drawing object given back.
//
// Input: lines separated by '\n'. The first byte of a line picks the item (and whether the
// rest is its value after the name's prefix, or the whole line with the prefix as typed);
// the rest of the line is the text. The lowest bit of the input's last byte picks the layout.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/data_tables.h"
#include "expr/surface_function.h"
#include "fuzz/fuzz_support.h"
#include "platform/drawing_objects.h"
#include "platform/window.h"
#include "surface/plot_driver.h"

using namespace toven;

namespace {

constexpr int picture_width = 120;
constexpr int picture_height = 90;

struct Tables {
    DataTable fdata;
    DataTable sdata;
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

void check_refusal(const std::string& refusal, const std::string& input) {
    if (!refusal.empty() && refusal.back() != '.') {
        fuzz::fail("the refusal '" + refusal + "' is not a whole sentence", input);
    }
}

void draw_page(Tables& tables, bool print_layout, int mouse_x, int mouse_y,
               const std::string& input) {
    const auto window = platform::create_offscreen_window(picture_width, picture_height);
    SurfacePlotter plotter(window.get());
    SurfaceFunction function(tables.fdata);
    PlotContext context{plotter, function, tables.fdata, tables.sdata, mouse_x, mouse_y};
    context.show_refusals = false;
    context.print_layout = print_layout;
    check_refusal(draw_plot(context, 0, 0), input);
    if (!print_layout) {
        draw_plot(context, 1, 0);
    }
    // As --render does: the printer's layout has ended output itself, and ending it again
    // must be harmless.
    plotter.end_output();
    readout_ready = 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::start_session();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Tables defaults{fdata, sdata};
    Tables tables = defaults;
    const std::string input(reinterpret_cast<const char*>(data), size);
    type_lines(tables, input);

    const auto before = platform::live_objects();
    const int mouse_x = size > 0 ? data[0] % picture_width : 0;
    const int mouse_y = size > 1 ? data[1] % picture_height : 0;
    // One page per input, so the time limit holds for one plot; the last byte picks the layout.
    const bool print_layout = size > 0 && (data[size - 1] & 1) != 0;
    draw_page(tables, print_layout, mouse_x, mouse_y, input);
    if (!(platform::live_objects() == before)) {
        fuzz::fail("a page did not give back every drawing object", input);
    }
    return 0;
}
