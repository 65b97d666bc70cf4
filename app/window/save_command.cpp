#include "app/window/save_command.h"

#include <string>
#include <vector>

#include "app/files/output_formats.h"
#include "app/files/page_picture.h"
#include "app/window/shell_state.h"
#include "platform/busy_cursor.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/picture_files.h"
#include "platform/visible_text.h"
#include "platform/window.h"

namespace toven {

namespace {

constexpr const char* suggested_name = "toven.png";
constexpr const char* refusal_caption = "Cannot plot";
constexpr const char* save_caption = "Save";
constexpr const char* figure_question =
    "Save the figure for a paper: the surface alone with tick numbers and labels?\n\n"
    "Yes saves the figure, No the whole page.";

// A TeX picture is always the figure; another picture asks which, the page by default.
bool asks_for_figure(platform::Window* main_window, const std::string& path) {
    const OutputFormat* format = output_format(path);
    if (format == nullptr || format->writer != Writer::page) {
        return false;
    }
    if (format->picture == platform::PictureFormat::tex) {
        return true;
    }
    return platform::message_box(main_window, figure_question, save_caption,
                                 platform::MessageBoxButtons::yes_no) ==
           platform::MessageBoxAnswer::yes;
}

// The plot window's drawing area, or the default page without one.
PagePicture page_of_plot_window(const AppState& state, std::string path) {
    PagePicture picture{std::move(path)};
    if (const platform::Window* plot_window = state.plot_window; plot_window != nullptr) {
        const platform::Rect client = plot_window->client_rect();
        picture.width = client.width();
        picture.height = client.height();
        picture.pixel_ratio = platform::pixel_ratio(*plot_window);
    }
    return picture;
}

// A saved page is reported only where it is not what was asked for.
void report(platform::Window* main_window, const PagePicture& picture, const SavedPage& saved) {
    const auto show = [main_window](const std::string& text, const char* caption) {
        platform::message_box(main_window, text, caption, platform::MessageBoxButtons::ok);
    };
    switch (saved.status) {
        case SavedPage::Status::refused:
            show(saved.message + "\n\nThe file " + platform::quoted_path(picture.path) +
                     " was not written.",
                 refusal_caption);
            break;
        case SavedPage::Status::failed:
            show(saved.message, save_caption);
            break;
        case SavedPage::Status::saved_as_image:
            show("\"" + picture.path +
                     "\" holds the page as an image: the drawing was too large to keep as lines "
                     "and text.",
                 save_caption);
            break;
        case SavedPage::Status::saved:
            break;
    }
}

}  // namespace

void save_plot(platform::Window* main_window) {
    static const std::vector<platform::FileType> picture_types = file_types(Writer::page);
    std::optional<std::string> path =
        platform::ask_save_path(main_window, save_caption, suggested_name, picture_types);
    if (!path || path->empty()) {
        return;
    }
    // A name without an extension gets the first picture type's, as the dialog adds it.
    if (file_extension(*path).empty()) {
        *path += "." + picture_types.front().extension;
    }
    AppState& state = shell_state();
    PagePicture picture = page_of_plot_window(state, std::move(*path));
    picture.figure = asks_for_figure(main_window, picture.path);
    // A page of its own, so the screen's Plotter and SurfaceFunction are not disturbed; a
    // formula that does not parse is reported where a click would report it.
    SurfaceFunction function(state.fdata);
    platform::Window* message_window =
        state.plot_window != nullptr ? state.plot_window : main_window;
    const platform::BusyCursor busy(main_window);
    report(main_window, picture, save_page(state, picture, function, message_window));
}

}  // namespace toven
