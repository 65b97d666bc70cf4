// toven --render: one page drawn by the plot driver on an offscreen picture, saved to a file.
// It starts only what a picture needs: a headless session, no widgets and no print system.
#include "app/render_command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "app/data_tables.h"
#include "expr/surface_function.h"
#include "platform/application.h"
#include "platform/window.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

constexpr int default_width = 800;
constexpr int default_height = 600;
// The picture is held in memory at 4 bytes a pixel: 8000 by 8000 costs 256 MB.
constexpr int max_side = 8000;

struct RenderRequest {
    std::string path;
    int width = default_width;
    int height = default_height;
    bool print_layout = false;
};

// side = digit { digit }, from 1 to max_side
std::optional<int> read_side(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > max_side || !std::isdigit(static_cast<unsigned char>(text[0]))) {
        return std::nullopt;
    }
    return value;
}

// size = side "x" side
bool read_size(std::string_view text, RenderRequest& request) {
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) {
        return false;
    }
    const auto width = read_side(text.substr(0, cross));
    const auto height = read_side(text.substr(cross + 1));
    if (!width || !height) {
        return false;
    }
    request.width = *width;
    request.height = *height;
    return true;
}

// The file's extension in lower case, or empty when it has none.
std::string lowercase_extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool supported_extension(const std::string& path) {
    const std::string extension = lowercase_extension(path);
    return extension == "png" || extension == "pdf" || extension == "svg";
}

// render = "--render" FILE { "--size" size | "--print-layout" | NAME "=" VALUE }
// Returns empty on success, else the message; the assignments are applied as they come.
std::string read_request(int argc, char** argv, RenderRequest& request) {
    if (argc < 3 || std::string_view(argv[2]).starts_with("--")) {
        return "--render needs a FILE (see toven --help)";
    }
    request.path = argv[2];
    if (!supported_extension(request.path)) {
        return "cannot write '" + request.path + "': the file must end in .png, .pdf or .svg";
    }
    for (int i = 3; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::string error;
        if (argument == "--print-layout") {
            request.print_layout = true;
        } else if (argument == "--size") {
            if (i + 1 == argc || !read_size(argv[i + 1], request)) {
                return "--size needs WxH, two whole numbers from 1 to " + std::to_string(max_side) +
                       " (for example 800x600)";
            }
            ++i;
        } else if (argument.starts_with("--")) {
            return "unknown option '" + std::string(argument) + "' (see toven --help)";
        } else if (!apply_assignment(argument, error)) {
            return error;
        }
    }
    return {};
}

}  // namespace

int run_render_command(int argc, char** argv) {
    RenderRequest request;
    if (const std::string error = read_request(argc, argv, request); !error.empty()) {
        return fail(error);
    }
    SurfaceFunction function(fdata);
    if (!compile_or_report(function)) {
        return 1;
    }

    int session_argc = 1;
    platform::Session session(session_argc, argv, platform::SessionKind::headless);
    // Only PDF and SVG pages need the drawing recorded; a PNG is the image itself.
    const auto recording = lowercase_extension(request.path) == "png"
                               ? platform::OffscreenRecording::image_only
                               : platform::OffscreenRecording::vector_pages;
    const auto window = platform::create_offscreen_window(request.width, request.height, recording);
    SurfacePlotter plotter(window.get());
    PlotContext context{plotter, function, fdata, sdata};
    context.show_refusals = false;
    context.print_layout = request.print_layout;
    if (const std::string refusal = draw_plot(context, plot_page, screen_output);
        !refusal.empty()) {
        return fail("cannot plot: " + refusal);
    }
    plotter.end_output();
    if (const auto error = platform::save_picture(*window, request.path)) {
        return fail(*error);
    }
    if (recording == platform::OffscreenRecording::vector_pages &&
        !platform::saves_vector_pages(*window)) {
        std::fprintf(stderr,
                     "toven: the drawing was too large to keep as lines and text: \"%s\" holds "
                     "the page as an image.\n",
                     request.path.c_str());
    }
    return 0;
}

}  // namespace toven
