#include "app/window/data_file_commands.h"

#include <string>
#include <vector>

#include "app/files/data_file.h"
#include "app/files/output_formats.h"
#include "app/files/page_picture.h"
#include "app/window/shell_state.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

constexpr const char* open_caption = "Open";
constexpr const char* save_caption = "Save As";
constexpr const char* suggested_name = "toven.toven";

void show(platform::Window* main_window, const std::string& text, const char* caption) {
    platform::message_box(main_window, text, caption, platform::MessageBoxButtons::ok);
}

// Lines typed in the open data windows are written back first, as "u" writes them.
void commit_open_boxes(AppState& state) {
    for (DataBox* box : {state.fdata_box.get(), state.sdata_box.get()}) {
        if (box != nullptr && box->built) {
            box->commit();
        }
    }
}

void show_new_tables(AppState& state) {
    for (DataBox* box : {state.fdata_box.get(), state.sdata_box.get()}) {
        if (box != nullptr && box->built) {
            box->show_table();
        }
    }
}

// A picture that keeps the data too, which Plot > Save... writes.
bool is_picture_name(const std::string& path) {
    const OutputFormat* format = output_format(path);
    return format != nullptr && format->carries_data && format->writer != Writer::data;
}

}  // namespace

void open_data(platform::Window* main_window) {
    static const std::vector<platform::FileType> types = {
        {"toven data and pictures", data_carrying_extensions()},
        {"grids of heights", "csv tsv txt dat xyz npy"},
        file_types(Writer::data).front()};
    const std::optional<std::string> path =
        platform::ask_open_path(main_window, open_caption, types);
    if (!path || path->empty()) {
        return;
    }
    AppState& state = shell_state();
    if (const auto refusal = open_file(state, *path)) {
        show(main_window, refusal->message + "\n\nThe data are as they were.", open_caption);
        return;
    }
    show_new_tables(state);
}

void save_data_as(platform::Window* main_window) {
    static const std::vector<platform::FileType> types = file_types(Writer::data);
    std::optional<std::string> path =
        platform::ask_save_path(main_window, save_caption, suggested_name, types);
    if (!path || path->empty()) {
        return;
    }
    if (file_extension(*path).empty()) {
        *path += "." + types.front().extension;
    }
    // A picture's name would get a text file that no viewer shows.
    if (is_picture_name(*path)) {
        show(main_window,
             "The file " + platform::quoted_path(*path) +
                 " was not written: Save As writes a data file (.toven). Plot > Save... "
                 "writes a picture, which keeps the data too.",
             save_caption);
        return;
    }
    AppState& state = shell_state();
    commit_open_boxes(state);
    if (const auto refusal = data_text_refusal(state)) {
        show(main_window,
             "The file " + platform::quoted_path(*path) + " was not written. " + refusal->message,
             save_caption);
        return;
    }
    if (const auto failure = write_data_file(state, *path)) {
        show(main_window, failure->message, save_caption);
    }
}

}  // namespace toven
