#include "surface/plot_driver.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "expr/item_table.h"
#include "surface/graph_parameters.h"
#include "surface/grid_function.h"
#include "surface/mini_grid.h"
#include "surface/page_layout.h"
#include "surface/plot_limits.h"
#include "surface/plot_work.h"
#include "surface/surface_plan.h"
#include "surface/uneven_nodes.h"

namespace toven {

namespace {

constexpr int printer_pen_width = 3;
constexpr const char* no_view = "-";
constexpr int page_brush = output_brush;
constexpr int title_colour = pen_dark_blue;  // as the formula

// The page's panels are drawn once each, so the cursor a panel keeps is not needed again.
void set_up_panel(Plotter& plotter, PanelLayout panel) {
    plotter.open_panel(panel, panel_framed);
}

// The text lines of records first..last, one below the other; records the table lacks are
// left out.
void put_lines(Plotter& plotter, const DataTable& table, int first, int last) {
    for (int i = first; i <= last && i < table.size(); ++i) {
        plotter.put_text(table[i].line.c_str());
        plotter.next_line(1);
    }
}

// The surface panel as it is open on the device: the printer's page keeps its lines.
SurfacePanel open_panel(const Plotter& plotter) {
    return {plotter.vp_width, plotter.vp_height, plotter.pen_width,
            plotter.printing == printer_output};
}

// The surface of the graph data, with the grid's nodes where it has uneven ones.
SurfaceRequest surface_of(const PlotContext& context) {
    const SurfaceRequest request = context.graph_parameters.surface();
    return context.grid != nullptr ? with_grid_nodes(request, *context.grid) : request;
}

// The grid's heights when one stands in for the formula, made in `grid_heights`; else the
// formula, compiled first when `compile` is given, with its parameters loaded.
FunctionXY& heights(const PlotContext& context, std::optional<GridFunction>& grid_heights,
                    std::optional<ParseErrorReport> compile) {
    if (context.grid != nullptr) {
        return grid_heights.emplace(*context.grid);
    }
    if (compile) {
        context.function.compile(*compile);
    }
    context.function.load_parameters();
    return context.function;
}

// The surface of the page, laid out once for its checks, its work and its drawing.
using PagePlan = std::variant<SurfacePlan, platform::Refusal>;

PagePlan plan_of(const PlotContext& context) {
    return plan_surface(surface_of(context));
}

std::optional<platform::Refusal> refusal_of(const PagePlan& plan) {
    if (const auto* refusal = std::get_if<platform::Refusal>(&plan)) {
        return *refusal;
    }
    return std::nullopt;
}

// A print whose evaluations alone would take too long is refused before it starts, so that
// the refusal asks nothing and starts no job. The formula is compiled silently here; the plot
// compiles it again once output is open, and reports a fault then.
std::optional<platform::Refusal> print_evaluation_refusal(const PlotContext& context,
                                                          const SurfacePlan& plan) {
    std::optional<GridFunction> grid_heights;
    FunctionXY& function = heights(context, grid_heights, ParseErrorReport::silent);
    return evaluation_refusal(sample_plot_work(function, plan));
}

// Compiles the formula and draws the surface with its frame box and axes. Returns nothing when
// the surface was drawn, else why not.
std::optional<platform::Refusal> draw_surface_panel(const PlotContext& context,
                                                    OutputDevice printer, SurfacePlan plan) {
    const GraphParameters& g = context.graph_parameters;
    SurfacePlotter& plotter = context.plotter;
    if (printer == screen_output) {
        context.function.parse_error_sink = context.parse_error_sink;
    }
    std::optional<GridFunction> grid_heights;
    FunctionXY& function =
        heights(context, grid_heights,
                context.compiled ? std::nullopt : std::optional(ParseErrorReport::reported));
    return draw_weighed_surface(plotter, function, std::move(plan), open_panel(plotter), g.fc,
                                g.ax);
}

// A refused page has no view, so its rot and tilt are shown as "-" rather than as numbers
// that were never used.
void draw_data_panel(const PlotContext& context, PageKind page, bool surface_drawn) {
    SurfacePlotter& plotter = context.plotter;
    set_up_panel(plotter, data_panel(page));
    put_lines(plotter, context.fdata, 1, parameter_count(context.fdata));
    for (const ItemSpec& item : items_of(TableName::sdata)) {
        if (item.on_page) {
            put_lines(plotter, context.sdata, record_number(item), record_number(item));
        }
    }
    if (surface_drawn) {
        plotter.print_line("rot  = %8.2f", plotter.rot);
        plotter.print_line("tilt = %8.2f", context.graph_parameters.tilt);
    } else {
        plotter.print_line("rot  = %8s", no_view);
        plotter.print_line("tilt = %8s", no_view);
    }
}

void draw_formula_panel(const PlotContext& context) {
    Plotter& plotter = context.plotter;
    set_up_panel(plotter, formula_panel);
    if (context.grid != nullptr) {
        plotter.put_text(context.grid_caption.c_str());
        return;
    }
    const int formula = formula_record(context.fdata);
    put_lines(plotter, context.fdata, formula, formula);
}

// A title heads the formula panel: it is centred over that panel, in the band above it
// that runs across the whole page, in the page's text colour on its background; a long one
// starts at the left margin and is cut at the page's edge. A title of blanks alone draws
// nothing, so an untitled page is unchanged.
void draw_title(Plotter& plotter, const std::string& title) {
    if (title.find_first_not_of(' ') == std::string::npos || plotter.dc == nullptr) {
        return;
    }
    plotter.set_colours(page_brush, plotter.frame_pen, plotter.pen_number, title_colour);
    plotter.set_viewport(0, 100, formula_panel.top, 100, clip_on);
    const int width = plotter.dc->text_extent(title).cx;
    const int centre = (formula_panel.left + formula_panel.right) * plotter.device_width / 200;
    plotter.text_x = std::max(plotter.vp_left + plotter.char_width, centre - width / 2);
    plotter.text_y = plotter.vp_top + (plotter.vp_height - plotter.line_height) / 2;
    plotter.put_text(title.c_str());
}

// A page whose graph data cannot be plotted still shows what was typed: the data and formula
// panels around a surface panel that names the fault. A print of it is not started. A print
// that fails draws its page on the screen, and the failure is returned once the page is drawn.
std::optional<platform::Refusal> draw_page(const PlotContext& context, OutputDevice printer) {
    const GraphParameters& g = context.graph_parameters;
    PagePlan plan = plan_of(context);
    std::optional<platform::Refusal> refusal = refusal_of(plan);
    if (!refusal && printer == printer_output) {
        refusal = print_evaluation_refusal(context, std::get<SurfacePlan>(plan));
    }
    if (refusal && printer == printer_output) {
        return refusal;
    }
    SurfacePlotter& plotter = context.plotter;
    const bool printer_layout = printer == printer_output || context.print_layout;
    const PageKind page = printer_layout ? PageKind::printer : PageKind::screen;
    if (printer_layout) {
        plotter.set_pen_width(printer_pen_width);
    }
    std::optional<platform::Refusal> print_failure = plotter.begin_output(printer);

    set_up_panel(plotter, surface_panel(page, g.pc));
    if (!refusal) {
        refusal = draw_surface_panel(context, printer, std::get<SurfacePlan>(std::move(plan)));
    }
    if (refusal) {
        plotter.put_text(refusal->message.c_str());
    }
    draw_data_panel(context, page, !refusal);
    draw_formula_panel(context);
    draw_title(plotter, g.title);

    if (printer_layout) {
        if (auto unfinished = plotter.end_output()) {
            print_failure = std::move(unfinished);
        }
    } else if (!refusal) {
        draw_mini_grid(plotter, g.x1, g.x2, g.y1, g.y2);
        context.readout_ready = true;
    } else {
        context.readout_ready = false;
    }
    return refusal ? refusal : print_failure;
}

// After a print the Plotter holds no device (and the printed page's mapping): a readout then
// waits for the next screen plot.
void draw_readout_if_ready(const PlotContext& context) {
    if (!context.readout_ready || context.plotter.dc == nullptr) {
        return;
    }
    const platform::Point mouse{context.mouse_x, context.mouse_y};
    if (context.grid != nullptr) {
        GridFunction grid_heights(*context.grid);
        draw_readout(context.plotter, grid_heights, mouse);
        return;
    }
    draw_readout(context.plotter, context.function, mouse);
}

}  // namespace

std::optional<platform::Refusal> draw_plot(const PlotContext& context, PlotRequest readout,
                                           OutputDevice printer) {
    context.graph_parameters = load_graph_parameters(context.sdata);
    if (context.samples_while_moving > 0) {
        context.graph_parameters.k =
            std::min(context.graph_parameters.k, context.samples_while_moving);
    }
    if (readout == plot_readout) {
        draw_readout_if_ready(context);
        return std::nullopt;
    }
    return draw_page(context, printer);
}

SurfacePanel screen_surface_panel(const PlotContext& context) {
    SurfacePlotter& plotter = context.plotter;
    if (context.print_layout) {
        plotter.set_pen_width(printer_pen_width);
    }
    plotter.begin_output(screen_output);
    const PanelLayout panel =
        surface_panel(context.print_layout ? PageKind::printer : PageKind::screen,
                      load_graph_parameters(context.sdata).pc);
    plotter.set_viewport(panel.left, panel.right, panel.bottom, panel.top, clip_on);
    const SurfacePanel measured = open_panel(plotter);
    plotter.end_output();
    return measured;
}

std::optional<platform::Refusal> screen_page_refusal(const PlotContext& context,
                                                     const SurfacePanel& panel, double* seconds) {
    context.graph_parameters = load_graph_parameters(context.sdata);
    const PagePlan planned = plan_of(context);
    if (auto refusal = refusal_of(planned)) {
        return refusal;
    }
    const SurfacePlan& plan = std::get<SurfacePlan>(planned);
    std::optional<GridFunction> grid_heights;
    FunctionXY& function = heights(context, grid_heights, std::nullopt);
    const WorkSample sample = sample_plot_work(function, plan);
    auto refusal = plot_work_refusal(sample, plan, panel);
    if (!refusal && seconds != nullptr) {
        *seconds = plot_seconds(sample, plan, panel);
    }
    return refusal;
}

}  // namespace toven
