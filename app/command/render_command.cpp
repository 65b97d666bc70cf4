// toven --render: one page drawn by the plot driver on an offscreen picture, saved to a file.
// It starts only what a picture needs: a headless session, no widgets and no print system.
#include "app/command/render_command.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/command/arguments.h"
#include "app/command/command_output.h"
#include "app/command/solid_command.h"
#include "app/command/sweep.h"
#include "app/files/output_formats.h"
#include "app/files/page_picture.h"
#include "expr/surface_function.h"
#include "platform/application.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

// render = "--render" FILE { option | NAME "=" VALUE | data file }
// Returns the refusal of a request that cannot be drawn; the items are set as they come.
std::optional<platform::Refusal> read_request(AppData& state, int argc, char** argv,
                                              PagePicture& request, Sweep& sweep) {
    using platform::Refusal;
    if (argc < 3 || std::string_view(argv[2]).starts_with("--")) {
        return Refusal{"The option --render needs a FILE (see toven --help)."};
    }
    request.path = argv[2];
    const ArgumentRules rules{.command = "--render", .page = &request, .sweep = &sweep};
    if (auto refusal = read_arguments(state, std::span(argv + 3, argv + argc), rules)) {
        return refusal;
    }
    if (auto refusal = sweep_file_refusal(request.path, sweep)) {
        return refusal;
    }
    if (!sweep.requested() && !written_by(request.path, Writer::page)) {
        return Refusal{"Cannot write " + platform::quoted_path(request.path) +
                       ": the file must end in " + extension_list(Writer::page) + " (or " +
                       extension_list(Writer::solid) + " for a solid, " +
                       extension_list(Writer::animation) + " for a sweep)."};
    }
    return std::nullopt;
}

}  // namespace

int run_render_command(AppData& state, int argc, char** argv) {
    if (argc >= 3 && written_by(argv[2], Writer::solid)) {
        return run_solid_command(state, argc, argv);
    }
    PagePicture request;
    Sweep sweep;
    if (const auto refusal = read_request(state, argc, argv, request, sweep)) {
        return fail(refusal->message);
    }
    SurfaceFunction function(state.fdata);
    if (!state.grid && !compile_or_report(function)) {
        return 1;
    }

    int session_argc = 1;
    platform::Session session(session_argc, argv, platform::SessionKind::headless);
    const SavedPage saved = sweep.requested() ? save_sweep(state, request, sweep, function)
                                              : save_page(state, request, function, nullptr);
    switch (saved.status) {
        case SavedPage::Status::refused:
            return fail(saved.message);
        case SavedPage::Status::failed:
            return fail(saved.message);
        case SavedPage::Status::saved_as_image:
            std::fprintf(stderr,
                         "toven: The drawing was too large to keep as lines and text: %s "
                         "holds the page as an image.\n",
                         platform::quoted_path(request.path).c_str());
            break;
        case SavedPage::Status::saved:
            break;
    }
    return 0;
}

}  // namespace toven
