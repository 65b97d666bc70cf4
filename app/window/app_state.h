// The window program's state, all of it: the user's data (app_data.h), the readout's flag, the
// windows, and the single instances that the menu commands make and release. One AppState is
// made with the tables at their defaults and lives as long as the window program; everything
// below app gets what it needs of it as arguments. It changes only on the message loop's
// thread. A command line holds only the AppData, so it links no window code.
#pragma once

#include <memory>
#include <string>

#include "app/app_data.h"
#include "app/window/data_box.h"
#include "app/window/slider_box.h"
#include "expr/surface_function.h"
#include "platform/window_system.h"
#include "surface/surface_plotter.h"

namespace toven {

struct AppState : AppData {
    // True while the mouse readout may draw: set by a screen plot, cleared when a child window
    // is resized and when the plot window is destroyed.
    bool readout_ready = false;

    // The data windows, set by Fdata and Gdata, null once destroyed; each one's box is made
    // with it and torn down (its lines written back) when it is destroyed. A box is non-null
    // exactly while its window is open: the Data commands' one-window guard.
    platform::Window* fdata_window = nullptr;
    platform::Window* sdata_window = nullptr;
    std::unique_ptr<DataBox> fdata_box;
    std::unique_ptr<DataBox> sdata_box;

    // The newest plot window, set by Screen; null once it is destroyed. An older plot window
    // is no longer the plot window: it ignores the mouse, and closing it releases nothing.
    platform::Window* plot_window = nullptr;
    // Made by the first Screen or Print; released together when the current plot window or
    // the main window is destroyed. Print points the Plotter at the main window while it
    // runs, and back at the plot window afterwards.
    std::unique_ptr<SurfacePlotter> plotter;
    std::unique_ptr<SurfaceFunction> surface_function;

    // The sliders window, set by Data > Sliders... and null once destroyed; its box is made
    // with it and goes with it.
    platform::Window* slider_window = nullptr;
    std::unique_ptr<SliderBox> slider_box;

    // The help window, set by Help and null once destroyed; help_closed is the Help
    // command's one-window guard, true except while a help window is open.
    platform::Window* help_window = nullptr;
    bool help_closed = true;

    // The client position of the last mouse move over any child window; the readout reads it.
    int mouse_x = 0;
    int mouse_y = 0;

    // The view moved by hand in the plot window (hand_view.h): the right-button drag under
    // way, how long the last full page took, which tells whether a frame keeps up, and the
    // tilt and turn that the hand moved from since, to which a view it cannot draw goes back.
    struct HandMotion {
        bool dragging = false;
        int start_x = 0;
        int start_y = 0;
        double start_tilt = 0;
        double start_turn = 0;
        double full_frame_ms = 0;
        std::string from_tilt;  // empty when the hand has not moved since
        std::string from_turn;
        std::string written_tilt;  // as the hand last wrote them
        std::string written_turn;
    };
    HandMotion hand;
};

}  // namespace toven
