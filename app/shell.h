// The application shell: start-up, the windows, and the single instances that the menu
// commands make and release. The two window procedures are in main_window.h and
// child_window.h. The shell owns the data boxes, the Plotter and the SurfaceFunction; a
// window pointer here is null once its window is destroyed.
#pragma once

#include <memory>

#include "app/data_box.h"
#include "expr/surface_function.h"
#include "platform/window_system.h"
#include "surface/surface_plotter.h"

namespace toven {

// The data windows, the current plot window and the help window, while they exist.
extern platform::Window* fdata_window;
extern platform::Window* sdata_window;
extern platform::Window* plot_window;
extern platform::Window* help_window;

// Non-null exactly while its data window is open: the Data commands' one-window guard.
extern std::unique_ptr<DataBox> fdata_box;
extern std::unique_ptr<DataBox> sdata_box;

// From the first Screen or Print until the current plot window (or the main window) goes.
extern std::unique_ptr<SurfacePlotter> plotter;
extern std::unique_ptr<SurfaceFunction> surface_function;

// 1 while no help window is open: the Help command's one-window guard.
extern int help_closed;

// The client position of the last mouse move over a child window.
extern int mouse_x;
extern int mouse_y;

// Draws a page (readout 0) or the mouse readout (readout 1) with the shell's Plotter and
// SurfaceFunction, which must exist; printer 1 prints. Graph data that cannot be plotted, and
// a print that cannot be done, are told in a box "Cannot plot" ("Cannot print" for a print)
// over the Plotter's window, once the page is drawn.
void plot(int readout, int printer);
// Ends the Plotter's output and deletes it and the SurfaceFunction; stops the readout.
void release_plotter();

// A visible child window owned by `owner`, at (30, 50) on the screen.
platform::Window* create_child_window(const char* title, platform::Window* owner, int width,
                                      int height);

// Registers the menu and the window classes and shows the main window, which it returns.
// Needs an interactive session.
platform::Window* start_shell();
// start_shell, then the message loop until the main window is destroyed; its exit code.
int run_shell();

}  // namespace toven
