// The state of the running window program, as the window procedures and the menu commands
// reach it, and what they do with its single instances: plot, release the Plotter, and open
// child windows.
#pragma once

#include "app/window/app_state.h"
#include "platform/window_system.h"
#include "surface/plot_driver.h"

namespace toven {

// The state the window procedures work on: the one that start_shell was given. It must
// outlive the windows.
AppState& shell_state();

// Draws a page (plot_page) or the mouse readout (plot_readout) with the state's Plotter and
// SurfaceFunction, which must exist; printer_output prints. Graph data that cannot be
// plotted, and a print that cannot be done, are told in a box "Cannot plot" ("Cannot print"
// for a print) over the Plotter's window, once the page is drawn. A page drawn while the hand
// moves the view may take `samples_while_moving` samples per interval instead of k.
void plot(AppState& state, PlotRequest readout, OutputDevice printer, int samples_while_moving = 0);
// Ends the Plotter's output and deletes it and the SurfaceFunction; stops the readout.
void release_plotter(AppState& state);
// Stops the readout until the next screen plot, as a new size of the child window `resized`
// does. The readout's cross goes from the page, unless the page went with the plot window's
// old size.
void stop_readout(AppState& state, const platform::Window* resized);

// A visible child window owned by `owner`, at (30, 50) on the screen.
platform::Window* create_child_window(const char* title, platform::Window* owner, int width,
                                      int height);

// Makes `state` the one the window procedures work on (start_shell does), or none.
void set_shell_state(AppState* state);

}  // namespace toven
