#include "app/files/page_picture.h"

#include <optional>

#include "app/files/data_file.h"
#include "app/files/grid_data.h"
#include "app/files/output_formats.h"
#include "app/window/parse_error_box.h"
#include "platform/picture_files.h"
#include "platform/window.h"
#include "surface/plot_driver.h"

namespace toven {

DrawnPage draw_page_picture(const AppData& state, const PagePicture& picture,
                            SurfaceFunction& function, platform::Window* message_window,
                            Formula formula) {
    DrawnPage page;
    // Only PDF and SVG pages need the drawing recorded; a PNG or GIF is the image itself.
    const OutputFormat* format = output_format(picture.path);
    page.vector_page = format != nullptr && format->vector;
    page.window = platform::create_offscreen_window(picture.width, picture.height,
                                                    page.vector_page
                                                        ? platform::OffscreenRecording::vector_pages
                                                        : platform::OffscreenRecording::image_only,
                                                    picture.pixel_ratio);
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

SavedPage save_page(const AppData& state, const PagePicture& picture, SurfaceFunction& function,
                    platform::Window* message_window, Formula formula) {
    const OutputFormat* format = output_format(picture.path);
    if (format == nullptr || format->writer != Writer::page) {
        return {SavedPage::Status::failed, "Cannot save a picture as \"" + picture.path +
                                               "\": the name must end in " +
                                               extension_list(Writer::page) + "."};
    }
    // The picture keeps its data, so data that a data file cannot hold is not drawn at all.
    if (auto refusal = data_text_refusal(state)) {
        return {SavedPage::Status::failed,
                "Cannot save \"" + picture.path + "\": " + refusal->message + "."};
    }
    DrawnPage page = draw_page_picture(state, picture, function, message_window, formula);
    if (page.refusal) {
        return {SavedPage::Status::refused, std::move(page.refusal->message)};
    }
    if (auto failure =
            platform::save_picture(*page.window, picture.path, format->picture, data_text(state))) {
        return {SavedPage::Status::failed, std::move(failure->message)};
    }
    if (page.vector_page && !platform::saves_vector_pages(*page.window)) {
        return {SavedPage::Status::saved_as_image, {}};
    }
    return {};
}

}  // namespace toven
