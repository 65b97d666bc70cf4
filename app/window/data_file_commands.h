// Data > Open... and Data > Save As...: the data tables read from and written to a data file
// (app/data_file.h), through the desktop's file dialog.
#pragma once

namespace toven {

namespace platform {
class Window;
}

// Asks for a data file or a picture that toven wrote and replaces both tables with its data,
// all at once or, when it is refused (a box over `main_window` says why), not at all. Open
// data windows show the new lines. A cancel changes nothing.
void open_data(platform::Window* main_window);

// Asks for a file name (.toven added when it has no extension) and writes the data there as
// the data windows show it: the lines of open data windows are taken first, as "u" takes
// them. A failure is told in a box over `main_window`; a cancel writes nothing.
void save_data_as(platform::Window* main_window);

}  // namespace toven
