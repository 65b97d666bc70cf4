#include "app/command/sweep.h"

#include <cmath>
#include <cstdio>

#include "app/data_items.h"
#include "app/files/grid_data.h"
#include "app/files/output_formats.h"
#include "platform/gif_animation.h"
#include "platform/picture_files.h"
#include "platform/window.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

using platform::Refusal;

// As a GIF counts time, in hundredths of a second: each frame ends at the hundredth nearest
// to its exact end, so that the frames keep the asked rate on average.
int frame_centiseconds(int frame, int frames_per_second) {
    const auto end_of = [frames_per_second](int f) {
        return std::lround(100.0 * f / frames_per_second);
    };
    return static_cast<int>(end_of(frame + 1) - end_of(frame));
}

std::optional<Refusal> set_frame(AppData& state, const Sweep& sweep, int frame) {
    return apply_item(state, sweep.name, frame_value(sweep, frame));
}

// A frame's message followed by which frame it was.
std::string in_frame(const Sweep& sweep, int frame, const std::string& message) {
    return message + " This is frame " + std::to_string(frame) + " (" + sweep.name + " = " +
           frame_value(sweep, frame) + ").";
}

Refusal too_long_refusal(const Sweep& sweep, int frames_weighed, double seconds) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "The first %d of the %d frames would take %.0f s to draw, more than the %.0f s "
                  "a whole sweep may take: use fewer frames, or lower n, m or k.",
                  frames_weighed, sweep.frames, std::ceil(seconds), max_sweep_seconds);
    return Refusal{text};
}

// Every frame set and weighed as the page would weigh it, drawing nothing.
std::optional<Refusal> weigh_frames(AppData& state, const PagePicture& picture, const Sweep& sweep,
                                    SurfaceFunction& function) {
    const PageWindow size = page_window(picture).value_or(
        PageWindow{picture.width, picture.height, picture.pixel_ratio});
    const auto window = platform::create_offscreen_window(
        size.width, size.height, platform::OffscreenRecording::image_only, size.pixel_ratio);
    SurfacePlotter plotter(window.get());
    GraphParameters graph_parameters;
    bool readout_ready = false;
    PlotContext context{plotter,     function,         state.fdata,
                        state.sdata, graph_parameters, readout_ready};
    context.print_layout = picture.print_layout;
    use_grid(context, state);
    context.compiled = true;
    const SurfacePanel panel = screen_surface_panel(context);
    double sweep_seconds = 0;
    for (int frame = 0; frame < sweep.frames; ++frame) {
        double page_seconds = 0;
        auto refusal = set_frame(state, sweep, frame);
        if (!refusal) {
            refusal = screen_page_refusal(context, panel, &page_seconds);
        }
        if (refusal) {
            return Refusal{in_frame(sweep, frame, refusal->message)};
        }
        // Weighing stops at the first frame past the bound, so that a long sweep is refused
        // without timing every frame.
        sweep_seconds += page_seconds;
        if (sweep_seconds > max_sweep_seconds) {
            return too_long_refusal(sweep, frame + 1, sweep_seconds);
        }
    }
    return std::nullopt;
}

SavedPage save_gif(AppData& state, const PagePicture& picture, const Sweep& sweep,
                   SurfaceFunction& function) {
    platform::GifAnimation animation(picture.path);
    for (int frame = 0; frame < sweep.frames; ++frame) {
        if (auto refusal = set_frame(state, sweep, frame)) {
            return {SavedPage::Status::refused, in_frame(sweep, frame, refusal->message)};
        }
        const DrawnPage page =
            draw_page_picture(state, picture, function, nullptr, Formula::compiled);
        if (page.refusal) {
            return {SavedPage::Status::refused, in_frame(sweep, frame, page.refusal->message)};
        }
        const platform::Image image = platform::snapshot(*page.window);
        std::optional<Refusal> failure;
        if (frame == 0) {
            failure = animation.open(image.width, image.height);
        }
        if (!failure) {
            failure =
                animation.add_frame(image, frame_centiseconds(frame, sweep.frames_per_second));
        }
        if (failure) {
            return {SavedPage::Status::failed, failure->message};
        }
    }
    if (auto failure = animation.commit()) {
        return {SavedPage::Status::failed, failure->message};
    }
    return {};
}

SavedPage save_frame_files(AppData& state, const PagePicture& picture, const Sweep& sweep,
                           SurfaceFunction& function) {
    SavedPage result;
    for (int frame = 0; frame < sweep.frames; ++frame) {
        if (auto refusal = set_frame(state, sweep, frame)) {
            return {SavedPage::Status::refused, in_frame(sweep, frame, refusal->message)};
        }
        PagePicture frame_picture = picture;
        frame_picture.path = frame_path(picture.path, frame);
        SavedPage saved = save_page(state, frame_picture, function, nullptr, Formula::compiled);
        if (saved.status == SavedPage::Status::refused) {
            saved.message = in_frame(sweep, frame, saved.message);
        }
        if (saved.status == SavedPage::Status::refused ||
            saved.status == SavedPage::Status::failed) {
            return saved;
        }
        if (saved.status == SavedPage::Status::saved_as_image) {
            result = saved;
        }
    }
    return result;
}

}  // namespace

SavedPage save_sweep(AppData& state, const PagePicture& picture, const Sweep& sweep,
                     SurfaceFunction& function) {
    if (auto refusal = weigh_frames(state, picture, sweep, function)) {
        return {SavedPage::Status::refused, refusal->message};
    }
    if (written_by(picture.path, Writer::animation)) {
        return save_gif(state, picture, sweep, function);
    }
    return save_frame_files(state, picture, sweep, function);
}

}  // namespace toven
