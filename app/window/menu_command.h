// The command numbers of the menu "TOVEN", as WM_COMMAND brings them to the main window:
// the menu resource, the main window's procedure and the tests all take them from here.
#pragma once

namespace toven {

enum class MenuCommand : int {
    exit = 10,
    function_data = 30,  // Data > Fdata
    graph_data = 40,     // Data > Gdata
    open_data = 45,      // Data > Open...
    save_data_as = 47,   // Data > Save As...
    sliders = 48,        // Data > Sliders...
    screen = 50,
    print = 60,
    save = 70,
    help = 90,
    about = 99,
};

constexpr int command_number(MenuCommand command) {
    return static_cast<int>(command);
}

}  // namespace toven
