// Plot > Save...: the page of the current plot window saved as a picture file.
#pragma once

namespace toven {

namespace platform {
class Window;
}

// Asks for a file name (PNG, PDF or SVG by its extension, PNG when it has none) and saves the
// page there as a click in the current plot window would draw it, at that window's size, or
// at the default size with no plot window. The screen's plot is left as it is. A refused
// page or a failed save is reported in a box over `main_window`; a cancel writes nothing.
void save_plot(platform::Window* main_window);

}  // namespace toven
