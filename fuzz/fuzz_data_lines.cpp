// The lines of the data tables, as a person edits them in a data box and as the page shows
// them: any text, over-long and outside ASCII included, typed or set into the edit, lines
// picked by double clicks, written back with "u" and at the close, then every line drawn as
// page text. Checks that the list always shows what the edit holds, that a write-back stores
// each list line and takes its value by the name's length, that set_line keeps the whole
// value of any line, that the text cursor moves by the text's extent, and that every
// drawing object is given back.
//
// Input: the first byte picks the table (its lowest bit); then steps separated by '\n', each
// an operation (its first byte) and an argument (the rest of the step).
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/window/data_box.h"
#include "expr/item_table.h"
#include "fuzz/fuzz_support.h"
#include "platform/drawing_objects.h"
#include "platform/window.h"
#include "platform/window_system.h"
#include "plotter/plotter.h"
#include "tests/support/event_injection.h"

using namespace toven;

namespace {

// What a list line may hold: a display line is 119 characters and the edit's text is read
// one short of that.
constexpr std::size_t longest_list_line = 118;
constexpr int page_width = 240;
constexpr int page_height = 160;

enum class Step { double_click, click, type, set_text, key, commit, set_line, count };

// The box whose window is the data window of this run; its window's procedure hands it every
// control notification, as the program's child windows do.
DataBox* open_box = nullptr;

std::intptr_t data_window_procedure(platform::Window* window, unsigned message,
                                    std::uintptr_t wparam, std::intptr_t lparam) {
    if (message == platform::WM_COMMAND && open_box != nullptr) {
        open_box->handle_command(lparam, platform::high_word(wparam));
        return 0;
    }
    return platform::def_window_procedure(window, message, wparam, lparam);
}

platform::Window* data_window() {
    static platform::Window* window = [] {
        platform::register_class({"FuzzData", data_window_procedure, ""});
        return platform::create_window("FuzzData", "data", nullptr, {0, 0, 600, 400}, false);
    }();
    return window;
}

// The list line the edit mirrors holds the edit's whole text: nothing shown in the edit is
// missing from the line that "u" writes back.
void check_mirror(const DataBox& box, const std::string& input) {
    const std::string edited = platform::control_text(box.edit);
    const std::string line = platform::list_line(box.list, box.current);
    if (line != edited) {
        fuzz::fail("the list line '" + line + "' is not the edit's text '" + edited + "'", input);
    }
    if (line.size() > longest_list_line) {
        fuzz::fail("a list line of " + std::to_string(line.size()) + " bytes", input);
    }
}

std::vector<std::string> list_lines(const DataBox& box) {
    std::vector<std::string> lines;
    for (int i = 0; i < platform::list_count(box.list); ++i) {
        lines.push_back(platform::list_line(box.list, i));
    }
    return lines;
}

void check_written_back(const std::vector<std::string>& lines, const DataTable& table,
                        const std::string& input) {
    if (static_cast<int>(lines.size()) != item_count(table)) {
        fuzz::fail("the list has " + std::to_string(lines.size()) + " lines", input);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const DataRecord& record = table[static_cast<int>(i) + 1];
        if (record.line != lines[i]) {
            fuzz::fail("record " + std::to_string(i + 1) + " holds '" + record.line +
                           "', not its list line '" + lines[i] + "'",
                       input);
        }
    }
}

// set_line on a copy of the record: the whole line, the whole value after the
// name's length and " = ", the name untouched.
void check_set_line(const DataRecord& original, const std::string& text, const std::string& input) {
    DataRecord record = original;
    set_line(record, text.c_str());
    const std::size_t prefix = std::strlen(original.name) + 3;
    const std::string value = text.size() >= prefix ? text.substr(prefix) : std::string();
    if (record.line != text.c_str()) {
        fuzz::fail("set_line stored the line '" + record.line + "'", input);
    }
    if (record_value(record) != value) {
        fuzz::fail("set_line kept the value '" + std::string(record_value(record)) + "'", input);
    }
    if (std::strcmp(record.name, original.name) != 0) {
        fuzz::fail("set_line changed the name", input);
    }
}

void run_step(DataBox& box, DataTable& table, std::string_view step, const std::string& input) {
    const auto operation =
        static_cast<Step>(static_cast<unsigned char>(step[0]) % static_cast<unsigned>(Step::count));
    const std::string argument = fuzz::typed_text(
        reinterpret_cast<const std::uint8_t*>(step.data()) + 1, step.size() - 1, step.size());
    const int line = argument.empty() ? 0 : static_cast<unsigned char>(argument[0]) % 16;
    switch (operation) {
        case Step::double_click:
            platform::inject::double_click_line(box.list, line);
            break;
        case Step::click:
            platform::inject::click_line(box.list, line);
            break;
        case Step::type:
            platform::inject::type_text(box.edit, argument);
            break;
        case Step::set_text:
            platform::set_control_text(box.edit, argument);
            break;
        case Step::key:
            platform::inject::press_key(box.edit, static_cast<platform::inject::Key>(line % 4));
            break;
        case Step::commit:
            platform::inject::click(box.button);
            check_written_back(list_lines(box), table, input);
            break;
        case Step::set_line:
            check_set_line(table[1 + line % item_count(table)], argument, input);
            break;
        case Step::count:
            break;
    }
    check_mirror(box, input);
}

void edit_table(DataTable& table, std::string_view steps, const std::string& input) {
    DataBox box(data_window());
    open_box = &box;
    box.build(table);
    check_written_back(list_lines(box), table, input);
    while (!steps.empty()) {
        const std::size_t end = steps.find('\n');
        if (end != 0) {
            run_step(box, table, steps.substr(0, end), input);
        }
        if (end == std::string_view::npos) {
            break;
        }
        steps.remove_prefix(end + 1);
    }
    const std::vector<std::string> lines = list_lines(box);
    box.tear_down();
    check_written_back(lines, table, input);
    open_box = nullptr;
}

void check_put_text(Plotter& plotter, const char* text, const std::string& input) {
    const int before = plotter.text_x;
    plotter.put_text(text);
    if (plotter.text_extent.cx < 0 || plotter.text_x != before + plotter.text_extent.cx) {
        fuzz::fail("the text cursor did not move by the text's extent", input);
    }
    if (*text == '\0' && plotter.text_x != before) {
        fuzz::fail("an empty text moved the text cursor", input);
    }
}

// Every line of the table, as the data panel puts it, then each value formatted on a line
// of its own, as the readout writes its numbers.
void draw_lines(const DataTable& table, const std::string& input) {
    const auto window = platform::create_offscreen_window(page_width, page_height,
                                                          platform::OffscreenRecording::image_only);
    Plotter plotter(window.get());
    plotter.begin_output(screen_output);
    plotter.set_viewport(5, 95, 5, 95, clip_on);
    for (int i = 0; i < table.size(); ++i) {
        check_put_text(plotter, table[i].line.c_str(), input);
        plotter.next_line(1);
        plotter.print_line("%s = %s", table[i].name, record_value(table[i]));
        if (plotter.text_x != plotter.text_margin) {
            fuzz::fail("print_line left the cursor inside the line", input);
        }
    }
    plotter.end_output();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::start_widget_session();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const DataTable function_defaults = default_table(TableName::fdata);
    static const DataTable graph_defaults = default_table(TableName::sdata);
    DataTable table = (data[0] & 1) != 0 ? graph_defaults : function_defaults;
    const std::string input(reinterpret_cast<const char*>(data), size);

    const auto before = platform::live_objects();
    edit_table(table, std::string_view(input).substr(1), input);
    draw_lines(table, input);
    platform::inject::process_events();
    if (!(platform::live_objects() == before)) {
        fuzz::fail("the box or the page did not give back every object", input);
    }
    return 0;
}
