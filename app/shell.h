// The application shell: start-up, the windows, and the single instances that the menu
// commands make and release, all kept in one AppState. The two window procedures are in
// main_window.h and child_window.h; they reach that state through shell_state().
#pragma once

#include "app/app_state.h"
#include "platform/window_system.h"
#include "surface/plot_driver.h"

namespace toven {

// The state the window procedures work on: the one that start_shell was given. It must
// outlive the windows.
AppState& shell_state();

// Draws a page (plot_page) or the mouse readout (plot_readout) with the state's Plotter and
// SurfaceFunction, which must exist; printer_output prints. Graph data that cannot be
// plotted, and a print that cannot be done, are told in a box "Cannot plot" ("Cannot print"
// for a print) over the Plotter's window, once the page is drawn.
void plot(AppState& state, PlotRequest readout, OutputDevice printer);
// Ends the Plotter's output and deletes it and the SurfaceFunction; stops the readout.
void release_plotter(AppState& state);

// A visible child window owned by `owner`, at (30, 50) on the screen.
platform::Window* create_child_window(const char* title, platform::Window* owner, int width,
                                      int height);

// Registers the menu and the window classes and shows the main window, which it returns; the
// window procedures work on `state` from now on. Needs an interactive session.
platform::Window* start_shell(AppState& state);
// start_shell, then the message loop until the main window is destroyed; its exit code.
int run_shell(AppState& state);

}  // namespace toven
