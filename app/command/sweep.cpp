#include "app/command/sweep.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "app/data_items.h"
#include "app/files/grid_data.h"
#include "app/files/output_formats.h"
#include "platform/gif_animation.h"
#include "platform/gif_frame.h"
#include "platform/parallel.h"
#include "platform/picture_files.h"
#include "platform/window.h"
#include "surface/plot_driver.h"

namespace toven {

namespace {

using platform::Refusal;

// Frames drawn ahead of the one written next, per thread: enough that no thread waits while
// another writes, few enough that a long sweep holds only a handful of pictures.
constexpr int frames_ahead_per_thread = 3;
// The most bytes of pictures drawn ahead: large frames are drawn fewer at a time.
constexpr double max_bytes_ahead = 512.0 * 1024 * 1024;
// Frames weighed at a time, per thread, before their weights are summed in order.
constexpr int frames_weighed_per_thread = 8;

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

// What a sweep draws from: the caller's tables and compiled function, and whether frames are
// drawn side by side, each from copies of its own. A grid is never copied: a sweep over one
// draws frame after frame on the caller's tables.
struct SweepSource {
    AppData& state;
    SurfaceFunction& function;
    const Sweep& sweep;
    bool side_by_side = false;
};

// The tables and the function one frame, or one thread's run of frames, is drawn with.
class FrameData {
  public:
    explicit FrameData(const SweepSource& source)
        : own_(source.side_by_side ? std::make_unique<Own>(source) : nullptr),
          state_(own_ ? own_->state : source.state),
          function_(own_ ? own_->function : source.function),
          sweep_(source.sweep) {}

    std::optional<Refusal> set(int frame) { return set_frame(state_, sweep_, frame); }
    AppData& state() { return state_; }
    SurfaceFunction& function() { return function_; }

  private:
    struct Tables {
        explicit Tables(const AppData& from) {
            state.fdata = from.fdata;
            state.sdata = from.sdata;
            state.graph_parameters = from.graph_parameters;
        }
        AppData state;
    };
    // The evaluation state of a formula is its own: a copy compiles the same text again.
    struct Own : Tables {
        explicit Own(const SweepSource& source) : Tables(source.state), function(state.fdata) {
            if (source.function.compiled) {
                function.compile(ParseErrorReport::silent);
            }
        }
        SurfaceFunction function;
    };
    std::unique_ptr<Own> own_;
    AppData& state_;
    SurfaceFunction& function_;
    const Sweep& sweep_;
};

// Frames set and weighed as the page would weigh them, drawing nothing.
class FrameWeigher {
  public:
    FrameWeigher(const SweepSource& source, const PagePicture& picture)
        : data_(source),
          window_(offscreen_window(picture)),
          plotter_(window_.get()),
          context_{plotter_,          data_.function(), data_.state().fdata, data_.state().sdata,
                   graph_parameters_, readout_ready_} {
        context_.print_layout = picture.print_layout;
        use_grid(context_, data_.state());
        context_.compiled = true;
        panel_ = screen_surface_panel(context_);
    }

    // The frame's refusal, or nothing with its measured work in `seconds`.
    std::optional<Refusal> weigh(int frame, double& seconds) {
        if (auto refusal = data_.set(frame)) {
            return refusal;
        }
        return screen_page_refusal(context_, panel_, &seconds);
    }

  private:
    static std::unique_ptr<platform::Window> offscreen_window(const PagePicture& picture) {
        const PageWindow size = page_window(picture).value_or(
            PageWindow{picture.width, picture.height, picture.pixel_ratio});
        return platform::create_offscreen_window(
            size.width, size.height, platform::OffscreenRecording::image_only, size.pixel_ratio);
    }

    FrameData data_;
    std::unique_ptr<platform::Window> window_;
    SurfacePlotter plotter_;
    GraphParameters graph_parameters_;
    bool readout_ready_ = false;
    PlotContext context_;
    SurfacePanel panel_;
};

struct FrameWeight {
    std::optional<Refusal> refusal;
    double seconds = 0;
};

// Weighers kept from batch to batch, as many as run at once: each costs a window, a copy of
// the tables and a compile.
class WeigherPool {
  public:
    WeigherPool(const SweepSource& source, const PagePicture& picture)
        : source_(source), picture_(picture) {}

    std::unique_ptr<FrameWeigher> take() {
        {
            const std::lock_guard lock(mutex_);
            if (!idle_.empty()) {
                std::unique_ptr<FrameWeigher> weigher = std::move(idle_.back());
                idle_.pop_back();
                return weigher;
            }
        }
        return std::make_unique<FrameWeigher>(source_, picture_);
    }

    void give_back(std::unique_ptr<FrameWeigher> weigher) {
        const std::lock_guard lock(mutex_);
        idle_.push_back(std::move(weigher));
    }

  private:
    const SweepSource& source_;
    const PagePicture& picture_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<FrameWeigher>> idle_;
};

// Every frame weighed, a batch at a time over the threads, and summed in order, so that the
// sweep is refused at the first frame that cannot be plotted or that takes the whole sweep
// past its bound, without timing every frame. `last` receives the frame it ended at.
std::optional<Refusal> weigh_frames(const SweepSource& source, const PagePicture& picture,
                                    platform::Workers& workers, int& last) {
    const Sweep& sweep = source.sweep;
    const int batch = frames_weighed_per_thread * workers.threads();
    double sweep_seconds = 0;
    WeigherPool weighers(source, picture);
    for (int first = 0; first < sweep.frames; first += batch) {
        std::vector<FrameWeight> weights(std::min(batch, sweep.frames - first));
        // A frame a block, so that a thread that starts late (its first page loads its fonts)
        // leaves more of the batch to the others.
        workers.for_each_block(weights.size(), 1, [&](std::size_t begin, std::size_t end) {
            std::unique_ptr<FrameWeigher> weigher = weighers.take();
            for (std::size_t i = begin; i < end; ++i) {
                weights[i].refusal =
                    weigher->weigh(first + static_cast<int>(i), weights[i].seconds);
                if (weights[i].refusal) {
                    break;
                }
            }
            weighers.give_back(std::move(weigher));
        });
        for (std::size_t i = 0; i < weights.size(); ++i) {
            last = first + static_cast<int>(i);
            if (weights[i].refusal) {
                return Refusal{in_frame(sweep, last, weights[i].refusal->message)};
            }
            sweep_seconds += weights[i].seconds;
            if (sweep_seconds > max_sweep_seconds) {
                return too_long_refusal(sweep, last + 1, sweep_seconds);
            }
        }
    }
    return std::nullopt;
}

// Draws the frames on the workers' threads, at most `ahead` past the one written next, and
// writes each in order. A write that returns a page's result ends the sweep with it; nothing
// when every frame was written. `last` receives the last frame written.
template <class Frame>
std::optional<SavedPage> draw_in_order(
    platform::Workers& workers, int frames, int ahead, const std::function<Frame(int)>& draw,
    const std::function<std::optional<SavedPage>(int, Frame&)>& write, int& last) {
    struct Slot {
        int frame = 0;
        std::optional<Frame> drawn;
    };
    std::vector<Slot> slots(static_cast<std::size_t>(ahead));
    int next = 0;
    std::atomic<bool> stopped = false;  // by a write's result: the frames after it are let go
    std::optional<SavedPage> result;
    workers.run_in_order(
        slots.size(),
        [&](std::size_t slot) {
            slots[slot].frame = next++;
            return !stopped && slots[slot].frame < frames;
        },
        [&](std::size_t slot) {
            if (!stopped) {
                slots[slot].drawn = draw(slots[slot].frame);
            }
        },
        [&](std::size_t slot) {
            Slot& held = slots[slot];
            if (!stopped && held.drawn) {
                result = write(held.frame, *held.drawn);
                last = held.frame;
                stopped = result.has_value();
            }
            held.drawn.reset();
        });
    return result;
}

// Draws one frame at a time per thread, and as many ahead as the threads and memory allow.
struct FramePace {
    int threads = 1;
    int ahead = 1;
};

FramePace frame_pace(const PagePicture& picture, const Sweep& sweep, bool side_by_side) {
    if (!side_by_side) {
        return {};
    }
    const PageWindow size = page_window(picture).value_or(
        PageWindow{picture.width, picture.height, picture.pixel_ratio});
    const double frame_bytes = 4.0 * std::max(1, size.width) * std::max(1, size.height);
    const int threads = std::min(platform::usable_threads(), sweep.frames);
    const int most = frames_ahead_per_thread * threads;
    const double fitting = std::floor(max_bytes_ahead / frame_bytes);
    const int ahead = fitting >= most ? most : std::max(1, static_cast<int>(fitting));
    return {std::min(threads, ahead), ahead};
}

// A frame is indexed and compressed where it was drawn, so that only its writing waits for its
// turn, and a frame ahead holds its compressed bytes.
struct GifFrame {
    std::optional<Refusal> refusal;
    int width = 0;
    int height = 0;
    std::optional<std::vector<std::uint8_t>> encoded;  // nothing: more than 256 colours
};

SavedPage save_gif(const SweepSource& source, const PagePicture& picture, const FramePace& pace,
                   platform::Workers& workers, int& last) {
    const Sweep& sweep = source.sweep;
    platform::GifAnimation animation(picture.path);
    const std::function<GifFrame(int)> draw = [&](int frame) {
        FrameData data(source);
        GifFrame drawn;
        drawn.refusal = data.set(frame);
        if (!drawn.refusal) {
            const DrawnPage page = draw_page_picture(data.state(), picture, data.function(),
                                                     nullptr, Formula::compiled);
            drawn.refusal = page.refusal;
            if (!page.refusal) {
                const platform::IndexedImage image = platform::indexed_snapshot(*page.window);
                drawn.width = image.width;
                drawn.height = image.height;
                if (image.colours) {
                    drawn.encoded = platform::encode_gif_frame(
                        *image.colours, image.width, image.height,
                        frame_centiseconds(frame, sweep.frames_per_second));
                }
            }
        }
        return drawn;
    };
    const std::function<std::optional<SavedPage>(int, GifFrame&)> write =
        [&](int frame, GifFrame& drawn) -> std::optional<SavedPage> {
        if (drawn.refusal) {
            return SavedPage{SavedPage::Status::refused,
                             in_frame(sweep, frame, drawn.refusal->message)};
        }
        std::optional<Refusal> failure;
        if (frame == 0) {
            failure = animation.open(drawn.width, drawn.height);
        }
        if (!failure) {
            failure = animation.add_frame(drawn.width, drawn.height, drawn.encoded);
        }
        if (failure) {
            return SavedPage{SavedPage::Status::failed, failure->message};
        }
        return std::nullopt;
    };
    if (auto ended = draw_in_order(workers, sweep.frames, pace.ahead, draw, write, last)) {
        return *ended;
    }
    if (auto failure = animation.commit()) {
        return {SavedPage::Status::failed, failure->message};
    }
    return {};
}

SavedPage save_frame_files(const SweepSource& source, const PagePicture& picture,
                           const FramePace& pace, platform::Workers& workers, int& last) {
    const Sweep& sweep = source.sweep;
    const auto frame_picture = [&](int frame) {
        PagePicture framed = picture;
        framed.path = frame_path(picture.path, frame);
        return framed;
    };
    const std::function<PreparedPage(int)> draw = [&](int frame) {
        FrameData data(source);
        if (auto refusal = data.set(frame)) {
            PreparedPage refused;
            refused.outcome = {SavedPage::Status::refused, refusal->message};
            return refused;
        }
        return prepare_page(data.state(), frame_picture(frame), data.function(), nullptr,
                            Formula::compiled);
    };
    SavedPage result;
    const std::function<std::optional<SavedPage>(int, PreparedPage&)> write =
        [&](int frame, PreparedPage& drawn) -> std::optional<SavedPage> {
        SavedPage saved = write_page(frame_picture(frame), drawn);
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
        return std::nullopt;
    };
    if (auto ended = draw_in_order(workers, sweep.frames, pace.ahead, draw, write, last)) {
        return *ended;
    }
    return result;
}

SavedPage weigh_and_save(const SweepSource& source, const PagePicture& picture, int& last) {
    const FramePace pace = frame_pace(picture, source.sweep, source.side_by_side);
    platform::Workers workers(pace.threads);
    if (auto refusal = weigh_frames(source, picture, workers, last)) {
        return {SavedPage::Status::refused, refusal->message};
    }
    if (written_by(picture.path, Writer::animation)) {
        return save_gif(source, picture, pace, workers, last);
    }
    return save_frame_files(source, picture, pace, workers, last);
}

}  // namespace

SavedPage save_sweep(AppData& state, const PagePicture& picture, const Sweep& sweep,
                     SurfaceFunction& function) {
    const SweepSource source{state, function, sweep, !state.grid && platform::usable_threads() > 1};
    int last = 0;
    const SavedPage saved = weigh_and_save(source, picture, last);
    // The tables hold the value of the frame the sweep ended at, as if every frame up to it
    // had been set on them in turn.
    set_frame(state, sweep, last);
    return saved;
}

}  // namespace toven
