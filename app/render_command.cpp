// toven --render: one page drawn by the plot driver on an offscreen picture, saved to a file.
// It starts only what a picture needs: a headless session, no widgets and no print system.
#include "app/render_command.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "app/data_file.h"
#include "app/output_formats.h"
#include "app/page_picture.h"
#include "app/solid_command.h"
#include "app/sweep.h"
#include "app/user_tables.h"
#include "expr/surface_function.h"
#include "platform/application.h"

namespace toven {

namespace {

// The picture is held in memory at 4 bytes a pixel: 8000 by 8000 costs 256 MB.
constexpr int max_side = 8000;

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
bool read_size(std::string_view text, PagePicture& request) {
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

// render = "--render" FILE { "--size" size | "--print-layout" | "--sweep" sweep | "--fps" N
//                          | NAME "=" VALUE }
// Returns the refusal of a request that cannot be drawn; the assignments are applied as they
// come.
std::optional<platform::Refusal> read_request(int argc, char** argv, PagePicture& request,
                                              Sweep& sweep) {
    using platform::Refusal;
    if (argc < 3 || std::string_view(argv[2]).starts_with("--")) {
        return Refusal{"--render needs a FILE (see toven --help)"};
    }
    request.path = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--sweep" || argument == "--fps") {
            if (auto refusal =
                    read_sweep_option(argument, i + 1 < argc ? argv[++i] : nullptr, sweep)) {
                return refusal;
            }
        } else if (argument == "--print-layout") {
            request.print_layout = true;
        } else if (argument == "--size") {
            if (i + 1 == argc || !read_size(argv[i + 1], request)) {
                return Refusal{"--size needs WxH, two whole numbers from 1 to " +
                               std::to_string(max_side) + " (for example 800x600)"};
            }
            ++i;
        } else if (argument.starts_with("--")) {
            return Refusal{"unknown option '" + std::string(argument) + "' (see toven --help)"};
        } else if (auto refusal = apply_argument(argument)) {
            return refusal;
        }
    }
    if (auto refusal = sweep_file_refusal(request.path, sweep)) {
        return refusal;
    }
    if (!sweep.requested() && !written_by(request.path, Writer::page)) {
        return Refusal{"cannot write '" + request.path + "': the file must end in " +
                       extension_list(Writer::page) + " (or " + extension_list(Writer::solid) +
                       " for a solid, " + extension_list(Writer::animation) + " for a sweep)"};
    }
    return std::nullopt;
}

}  // namespace

int run_render_command(int argc, char** argv) {
    if (argc >= 3 && written_by(argv[2], Writer::solid)) {
        return run_solid_command(argc, argv);
    }
    PagePicture request;
    Sweep sweep;
    if (const auto refusal = read_request(argc, argv, request, sweep)) {
        return fail(refusal->message);
    }
    SurfaceFunction function(fdata);
    if (!compile_or_report(function)) {
        return 1;
    }

    int session_argc = 1;
    platform::Session session(session_argc, argv, platform::SessionKind::headless);
    const SavedPage saved = sweep.requested() ? save_sweep(request, sweep, function)
                                              : save_page(request, function, nullptr);
    switch (saved.status) {
        case SavedPage::Status::refused:
            return fail("cannot plot: " + saved.message);
        case SavedPage::Status::failed:
            return fail(saved.message);
        case SavedPage::Status::saved_as_image:
            std::fprintf(stderr,
                         "toven: the drawing was too large to keep as lines and text: \"%s\" "
                         "holds the page as an image.\n",
                         request.path.c_str());
            break;
        case SavedPage::Status::saved:
            break;
    }
    return 0;
}

}  // namespace toven
