// The application shell: start-up, the windows, and the single instances that the menu
// commands make and release. The two window procedures are in main_window.h and
// child_window.h. The shell owns the data boxes, the Plotter and the SurfaceFunction; a
// window pointer here is null once its window is destroyed.
#pragma once

#include <memory>

#include "app/data_box.h"
#include "expr/surface_function.h"
#include "platform/window_system.h"
#include "surface/plot_driver.h"
#include "surface/surface_plotter.h"

namespace toven {

// The shell's globals, all of them. They live for the whole run, start null, zero or false,
// and change only on the message loop's thread, in the two window procedures, as each one's
// comment says. The plot's own globals, graph_parameters and readout_ready, are in
// surface/plot_globals.h.

// The data windows: set by Fdata and Gdata, null once the window is destroyed.
extern platform::Window* fdata_window;
extern platform::Window* sdata_window;
// Each data window's box, made with its window by Fdata or Gdata; torn down (its lines
// written back) and deleted when the window is destroyed. Non-null exactly while its window
// is open: the Data commands' one-window guard.
extern std::unique_ptr<DataBox> fdata_box;
extern std::unique_ptr<DataBox> sdata_box;

// The newest plot window, set by Screen; null once it is destroyed. An older plot window is
// no longer the plot window: it ignores the mouse, and closing it releases nothing.
extern platform::Window* plot_window;
// Made by the first Screen or Print; released together (release_plotter) when the current
// plot window or the main window is destroyed. Print points the Plotter at the main window
// while it runs, and back at the plot window afterwards.
extern std::unique_ptr<SurfacePlotter> plotter;
extern std::unique_ptr<SurfaceFunction> surface_function;

// The help window, set by Help; null once it is destroyed.
extern platform::Window* help_window;
// The Help command's one-window guard: 1 at start, 0 from Help until the help window is
// destroyed.
extern int help_closed;

// The client position of the last mouse move over any child window, written by every such
// move; the mouse readout reads it.
extern int mouse_x;
extern int mouse_y;

// Draws a page (readout 0) or the mouse readout (readout 1) with the shell's Plotter and
// SurfaceFunction, which must exist; printer 1 prints. Graph data that cannot be plotted, and
// a print that cannot be done, are told in a box "Cannot plot" ("Cannot print" for a print)
// over the Plotter's window, once the page is drawn.
void plot(PlotRequest readout, OutputDevice printer);
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
