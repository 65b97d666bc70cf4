#include "app/files/page_picture.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/files/data_file.h"
#include "app/files/grid_data.h"
#include "app/files/output_formats.h"
#include "app/parse_error_box.h"
#include "platform/picture_files.h"
#include "platform/tex_picture.h"
#include "platform/visible_text.h"
#include "platform/window.h"
#include "surface/figure.h"
#include "surface/grid_function.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

bool is_tex_picture(const OutputFormat* format) {
    return format != nullptr && format->picture == platform::PictureFormat::tex;
}

int device_side(double points, double units_per_point) {
    return std::max(1, static_cast<int>(std::lround(points * units_per_point)));
}

// The figure draws with the page's numbers of the graph data, and reports a formula that
// does not parse as the page does. A grid stands in for the formula as on the page.
std::optional<platform::Refusal> draw_figure_picture(const AppData& state, platform::Window& window,
                                                     SurfaceFunction& function,
                                                     platform::Window* message_window,
                                                     Formula formula) {
    SurfacePlotter plotter(&window);
    const GraphParameters graph = load_graph_parameters(state.sdata);
    if (state.grid) {
        GridFunction heights(*state.grid);
        const DrawnFigure figure = draw_figure(plotter, heights, graph, &*state.grid);
        plotter.end_output();
        return figure.refusal;
    }
    if (message_window != nullptr) {
        function.parse_error_sink = ParseErrorBox{message_window};
    }
    if (formula == Formula::compile) {
        function.compile();
    }
    function.load_parameters();
    const DrawnFigure figure = draw_figure(plotter, function, graph);
    plotter.end_output();
    return figure.refusal;
}

}  // namespace

std::string too_large_message(const PagePicture& picture) {
    return "Cannot save \"" + picture.path + "\": a TeX picture is at most " +
           std::to_string(static_cast<int>(max_page_points * 2.54 / 72)) + " cm or " +
           std::to_string(static_cast<int>(max_page_points * pixels_per_point)) + " pixels a side.";
}

std::optional<PageWindow> page_window(const PagePicture& picture) {
    const bool physical = picture.width_points > 0 && picture.height_points > 0;
    PageWindow window{picture.width, picture.height, picture.pixel_ratio};
    if (is_tex_picture(output_format(picture.path))) {
        const double width = physical ? picture.width_points : picture.width / pixels_per_point;
        const double height = physical ? picture.height_points : picture.height / pixels_per_point;
        window = {device_side(width, platform::tex_units_per_point),
                  device_side(height, platform::tex_units_per_point), platform::tex_pixel_ratio};
    } else if (physical) {
        window = {device_side(picture.width_points, pixels_per_point),
                  device_side(picture.height_points, pixels_per_point), 1};
    }
    if (window.width > max_page_side || window.height > max_page_side) {
        return std::nullopt;
    }
    return window;
}

DrawnPage draw_page_picture(const AppData& state, const PagePicture& picture,
                            SurfaceFunction& function, platform::Window* message_window,
                            Formula formula) {
    DrawnPage page;
    const std::optional<PageWindow> size = page_window(picture);
    if (!size) {
        page.refusal = platform::Refusal{too_large_message(picture)};
        return page;
    }
    // Only PDF, SVG and TeX pictures need the drawing recorded; a PNG or GIF is the image itself.
    const OutputFormat* format = output_format(picture.path);
    page.vector_page = format != nullptr && format->vector;
    page.window = platform::create_offscreen_window(size->width, size->height,
                                                    page.vector_page
                                                        ? platform::OffscreenRecording::vector_pages
                                                        : platform::OffscreenRecording::image_only,
                                                    size->pixel_ratio);
    if (picture.figure || is_tex_picture(format)) {
        page.refusal = draw_figure_picture(state, *page.window, function, message_window, formula);
        return page;
    }
    // The page's numbers and readout are its own: the screen's plot is left as it was.
    GraphParameters graph_parameters;
    bool readout_ready = false;
    SurfacePlotter plotter(page.window.get());
    PlotContext context{plotter,     function,         state.fdata,
                        state.sdata, graph_parameters, readout_ready};
    context.print_layout = picture.print_layout;
    if (message_window != nullptr) {
        context.parse_error_sink = ParseErrorBox{message_window};
    }
    use_grid(context, state);
    context.compiled = formula == Formula::compiled;
    page.refusal = draw_plot(context, plot_page, screen_output);
    plotter.end_output();
    return page;
}

PreparedPage prepare_page(const AppData& state, const PagePicture& picture,
                          SurfaceFunction& function, platform::Window* message_window,
                          Formula formula) {
    PreparedPage prepared;
    const OutputFormat* format = output_format(picture.path);
    if (format == nullptr || format->writer != Writer::page) {
        prepared.outcome = {SavedPage::Status::failed,
                            "Cannot save a picture as " + platform::quoted_path(picture.path) +
                                ": the name must end in " + extension_list(Writer::page) + "."};
        return prepared;
    }
    if (!page_window(picture)) {
        prepared.outcome = {SavedPage::Status::failed, too_large_message(picture)};
        return prepared;
    }
    // The picture keeps its data, so data that a data file cannot hold is not drawn at all.
    if (auto refusal = format->carries_data ? data_text_refusal(state) : std::nullopt) {
        prepared.outcome = {
            SavedPage::Status::failed,
            "Cannot save " + platform::quoted_path(picture.path) + ". " + refusal->message};
        return prepared;
    }
    prepared.page = draw_page_picture(state, picture, function, message_window, formula);
    if (prepared.page.refusal) {
        prepared.outcome = {SavedPage::Status::refused, prepared.page.refusal->message};
        return prepared;
    }
    if (format->carries_data) {
        prepared.data_text = data_text(state);
    }
    return prepared;
}

SavedPage write_page(const PagePicture& picture, const PreparedPage& prepared) {
    if (prepared.outcome.status != SavedPage::Status::saved) {
        return prepared.outcome;
    }
    const OutputFormat* format = output_format(picture.path);
    if (auto failure = platform::save_picture(*prepared.page.window, picture.path, format->picture,
                                              prepared.data_text)) {
        return {SavedPage::Status::failed, std::move(failure->message)};
    }
    if (prepared.page.vector_page && !platform::saves_vector_pages(*prepared.page.window)) {
        return {SavedPage::Status::saved_as_image, {}};
    }
    return {};
}

SavedPage save_page(const AppData& state, const PagePicture& picture, SurfaceFunction& function,
                    platform::Window* message_window, Formula formula) {
    return write_page(picture, prepare_page(state, picture, function, message_window, formula));
}

}  // namespace toven
