// The editor of one data table inside a data window: a list of the table's item lines, a
// one-line edit that changes the line last double-clicked, and the button "u" that writes the
// list back into the table. The table is not owned and must outlive the box; the box owns its
// controls' font. The shell tears the box down (writing it back) before deleting it.
#pragma once

#include <cstdint>
#include <string>

#include "app/data_items.h"
#include "expr/data_table.h"
#include "platform/drawing_objects.h"
#include "platform/window_system.h"

namespace toven {

struct DataBox {
    // Measures the data window's default font; no control exists yet.
    explicit DataBox(platform::Window* data_window);
    ~DataBox();
    DataBox(const DataBox&) = delete;
    DataBox& operator=(const DataBox&) = delete;

    // Makes the controls for `table` and shows its lines, the first one in the edit.
    void build(DataTable& table);
    void fill_list(const DataTable& table, platform::Control* list_box);
    // Shows the table's lines anew, the first one in the edit, dropping the list's edits: for
    // a table that was replaced while the box is open.
    void show_table();
    // A notification from any control of any data window; acts only on this box's controls.
    void handle_command(std::intptr_t control, unsigned code);
    void commit();
    // Writes the lines back and destroys the controls.
    void tear_down();

    platform::Window* window;
    platform::Control* list = nullptr;
    platform::Control* edit = nullptr;
    platform::Control* button = nullptr;
    DataTable* table = nullptr;
    platform::Font* font = nullptr;
    int char_width = 0;
    int line_height = 0;
    std::string text;    // the line in transit between the list and the edit
    bool built = false;  // the controls exist: from build to tear_down
    int current = 0;     // the list line that the edit changes
};

}  // namespace toven
