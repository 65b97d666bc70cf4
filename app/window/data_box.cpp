#include "app/window/data_box.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace toven {

namespace {

// A line cut to the longest the edit takes, at a character's start: a character outside
// ASCII takes several bytes, and half of one would show as other characters.
std::string cut_to_line(std::string text) {
    if (text.size() <= longest_edit_line) {
        return text;
    }
    std::size_t end = longest_edit_line;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    text.resize(end);
    return text;
}

int longest_line(const DataTable& table, int items) {
    std::size_t longest = 0;
    for (int i = 0; i <= items && i < table.size(); ++i) {
        longest = std::max(longest, table[i].line.size());
    }
    return static_cast<int>(longest);
}

}  // namespace

DataBox::DataBox(platform::Window* data_window) : window(data_window) {
    platform::Device* device = window->get_device();
    const platform::TextMetrics metrics = device->text_metrics();
    window->release_device(device);
    char_width = metrics.ave_char_width;
    line_height = metrics.height;
}

DataBox::~DataBox() {
    platform::delete_object(font);
}

// From the top: the edit at about half a line, the button "u" under its left end, the list
// from the third line; sized by the window's default font, although list and edit draw with
// the fixed-pitch font.
void DataBox::build(DataTable& data_table) {
    if (built) {
        return;
    }
    const int h = line_height;
    const int c = char_width;
    const int items = item_count(data_table);
    table = &data_table;
    const int width = platform::vertical_scroll_bar_width() + longest_line(data_table, items) * c;
    list = platform::create_control(platform::ControlKind::list_box, window, "",
                                    {c, 3 * h, c + width, 3 * h + (items + 1) * h});
    const int button_top = 3 * h - static_cast<int>(1.1 * h);
    button = platform::create_control(platform::ControlKind::push_button, window, "u",
                                      {c, button_top, 3 * c, button_top + h});
    const int edit_top = 3 * h - static_cast<int>(2.5 * h);
    edit = platform::create_control(platform::ControlKind::edit, window, "",
                                    {c, edit_top, c + width, edit_top + h});
    platform::set_text_limit(edit, longest_edit_line);

    const platform::Font* stock = platform::stock_fixed_font();
    font = platform::create_font(stock->description);
    font->fixed_pitch = stock->fixed_pitch;
    platform::set_control_font(list, font);
    platform::set_control_font(edit, font);

    show_table();
    built = true;
}

void DataBox::show_table() {
    for (int i = platform::list_count(list) - 1; i >= 0; --i) {
        platform::list_delete(list, i);
    }
    fill_list(*table, list);
    current = 0;
    platform::list_select(list, 0);
    text = platform::list_line(list, 0);
    platform::set_control_text(edit, text);
}

void DataBox::fill_list(const DataTable& data_table, platform::Control* list_box) {
    const int items = item_count(data_table);
    for (int i = 1; i <= items && i < data_table.size(); ++i) {
        platform::list_insert(list_box, i - 1, data_table[i].line);
    }
}

// A double click picks the line the edit changes; each change in the edit replaces that line
// at once; "u" writes the list back.
void DataBox::handle_command(std::intptr_t control, unsigned code) {
    if (control == 0) {
        return;
    }
    if (control == platform::control_handle(list) && code == platform::LBN_DBLCLK) {
        const int selected = platform::list_selection(list);
        if (selected < 0) {
            return;
        }
        current = selected;
        text = platform::list_line(list, current);
        platform::set_control_text(edit, text);
    } else if (control == platform::control_handle(edit) && code == platform::EN_UPDATE) {
        const std::string edited = platform::control_text(edit);
        if (edited.size() > longest_edit_line) {
            // Too long for a line: the edit gets its last text back (the list line it
            // mirrors), as when typing reaches the edit's limit, rather than showing
            // characters that the line would lose. That text fits, so this notifies once more
            // and stops.
            platform::set_control_text(edit, cut_to_line(platform::list_line(list, current)));
            return;
        }
        text = edited;
        platform::list_insert(list, current, text);
        platform::list_delete(list, current + 1);
        platform::list_select(list, current);
    } else if (control == platform::control_handle(button) && code == platform::BN_CLICKED) {
        commit();
    }
}

void DataBox::commit() {
    const int lines = platform::list_count(list);
    if (lines <= 0 || table == nullptr) {
        return;
    }
    for (int i = 0; i < lines && i + 1 < table->size(); ++i) {
        const std::string line = platform::list_line(list, i);
        set_line((*table)[i + 1], line.c_str());
    }
}

void DataBox::tear_down() {
    commit();
    platform::destroy_control(list);
    platform::destroy_control(edit);
    platform::destroy_control(button);
    list = edit = button = nullptr;
    built = false;
    current = 0;
}

}  // namespace toven
