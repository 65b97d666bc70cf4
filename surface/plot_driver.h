// One whole page of panels from the two data tables (surface with frame box and axes, data,
// formula, and on screen the mini grid), or a refresh of the mouse readout.
#pragma once

#include <optional>
#include <string>

#include "expr/data_table.h"
#include "expr/surface_function.h"
#include "platform/refusal.h"
#include "surface/graph_parameters.h"
#include "surface/grid.h"
#include "surface/plot_work.h"
#include "surface/surface_plotter.h"

namespace toven {

struct PlotContext {
    SurfacePlotter& plotter;
    SurfaceFunction& function;
    const DataTable& fdata;
    const DataTable& sdata;
    // The numbers of the graph data, loaded from sdata first thing in every run, readouts
    // included.
    GraphParameters& graph_parameters;
    // True while the mouse readout may draw: set at the end of every screen plot, cleared when
    // a screen plot is refused. The owner clears it when a window is resized or the plot
    // window goes; a print leaves it as it was.
    bool& readout_ready;
    int mouse_x = 0;
    int mouse_y = 0;
    // Draws the printer's layout (panels from 20 percent, no mini grid, wide pens) on the
    // screen device and ends output, as a declined print does; for pictures of the printed page.
    bool print_layout = false;
    // Where a screen plot reports a formula that does not parse (the function keeps it for
    // later prints); null reports nothing.
    ParseErrorSink parse_error_sink = nullptr;
    // The function holds fdata's formula compiled already, so a page only loads the
    // parameters: the frames of a sweep share one compiled formula.
    bool compiled = false;
    // While the hand moves the view, a page that would miss its frame takes this many samples
    // per interval when fewer than k (0 keeps k): the same curves, still hidden exactly.
    int samples_while_moving = 0;
    // Measured heights drawn in place of the formula, which is then neither compiled nor
    // evaluated, and the line the formula panel shows for them.
    const Grid* grid = nullptr;
    std::string grid_caption{};
};

// draw_plot's `readout`: a whole page, or only the readout panel refreshed.
enum class PlotRequest { page, readout };
inline constexpr PlotRequest plot_page = PlotRequest::page;
inline constexpr PlotRequest plot_readout = PlotRequest::readout;

// readout plot_page draws a page, on the screen (printer screen_output) or the default
// printer (printer printer_output); readout plot_readout refreshes the readout panel. Returns
// nothing when the page (or readout) was drawn, else the refusal: graph data that cannot be
// plotted draws the panels around an empty surface, and on the printer nothing at all; a
// print that cannot be started or finished draws its page on the screen. Showing the refusal
// is the caller's choice.
std::optional<platform::Refusal> draw_plot(const PlotContext& context, PlotRequest readout,
                                           OutputDevice printer);

// The surface panel of a page drawn on the screen device of the context's plotter (in the
// printer's layout with print_layout), as draw_plot weighs its work. Opens output on the
// plotter's window to measure it, and ends it.
SurfacePanel screen_surface_panel(const PlotContext& context);

// Why draw_plot(context, plot_page, screen_output) would refuse the page, found without
// drawing: the graph data of context.sdata, and the work of the surface in `panel` (that of
// screen_surface_panel) with the compiled formula. Loads context.graph_parameters. When the
// page passes and `seconds` is given, it receives the page's measured work in seconds.
std::optional<platform::Refusal> screen_page_refusal(const PlotContext& context,
                                                     const SurfacePanel& panel,
                                                     double* seconds = nullptr);

}  // namespace toven
