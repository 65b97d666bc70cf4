// The view moved by hand, on the person's path: a step of a right-button drag over the plot
// window, delivered as a real window-system event, until the page is in the window's image
// and painted. The window program is started as the program starts it (the data items of its
// command line, the shell, Plot > Screen, a click), its plot window at 800x600, offscreen.
//
// Goals, on an AMD EPYC (Zen 3) with 2 cores shared with other work: the default page at full
// k at 60 frames a second or more; 161 x 81 curves with k = 20 at full k at 20; 801 x 401
// curves with k = 20 at 10 while moving (the frame with fewer samples), and the full page
// within 1.5 s of the hand stopping.
//
// Compare the processor time: "frames_per_cpu_s" counts frames per second of the process's
// processor time, all its threads together (the heights are evaluated on both cores);
// "frames_per_s" counts them on the wall clock, which on a shared machine also counts the
// waits for a processor. "full_page_ms" is the wall time of the last full page, by which the
// program chooses how many samples a moving frame can afford.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/command/command_line.h"
#include "app/window/app_state.h"
#include "app/window/hand_view.h"
#include "app/window/menu_command.h"
#include "app/window/shell.h"
#include "app/window/shell_state.h"
#include "platform/application.h"
#include "platform/window_system.h"
#include "tests/support/event_injection.h"
#include "tests/support/live_input.h"

namespace toven {
namespace {

namespace inject = platform::inject;
using Clock = std::chrono::steady_clock;

constexpr int page_width = 800;
constexpr int page_height = 600;

// The drag goes up and back down over this many degrees, one degree a step, so that every
// step tilts the view and the tilt stays well within its limits.
constexpr int swing_degrees = 30;
constexpr int drag_x = page_width / 2;
constexpr int drag_bottom = page_height - 100;

// The longest the full page may take to follow, before the run is given up as broken.
constexpr int settle_give_up_ms = 30'000;

// The window program with a page shown in its plot window and the right button held on it.
class LiveWindow {
  public:
    explicit LiveWindow(std::vector<std::string> items) {
        items.insert(items.begin(), "toven");
        std::vector<char*> argv;
        for (std::string& item : items) {
            argv.push_back(item.data());
        }
        argv.push_back(nullptr);
        refusal_ = start_items_refusal(state_, static_cast<int>(items.size()), argv.data());
        main_window_ = start_shell(state_);
        inject::choose_menu_command(main_window_, command_number(MenuCommand::screen));
        inject::process_events();
        inject::resize(state_.plot_window, page_width, page_height);
        inject::click(state_.plot_window, {20, 20});
        inject::process_events();
        inject::press_right(state_.plot_window, {drag_x, drag_bottom});
    }
    ~LiveWindow() {
        inject::release_right(state_.plot_window, {drag_x, y_});
        platform::destroy_window(main_window_);
        inject::process_events();
        platform::take_posted_quit();
        set_shell_state(nullptr);
    }
    LiveWindow(const LiveWindow&) = delete;
    LiveWindow& operator=(const LiveWindow&) = delete;

    // What went wrong in the start-up, if anything did; empty when the page is shown.
    std::string fault() const {
        if (refusal_) {
            return *refusal_;
        }
        const platform::Extent image = inject::backing_image_size(state_.plot_window);
        if (image.cx != page_width || image.cy != page_height) {
            return "The plot window is " + std::to_string(image.cx) + "x" +
                   std::to_string(image.cy) + ".";
        }
        return state_.readout_ready ? "" : "No page is shown.";
    }

    // The next step of the drag, and the paint that shows its page.
    void drag_step() {
        step_ = (step_ + 1) % (2 * swing_degrees);
        const int degrees = step_ < swing_degrees ? step_ : 2 * swing_degrees - step_;
        y_ = drag_bottom - degrees * drag_pixels_per_degree;
        inject::drag_right(state_.plot_window, {drag_x, y_});
        inject::process_events();
    }

    // Makes the next frame as long as a full page: the one the hand would see if the program
    // never drew fewer samples.
    void draw_next_frame_whole() { state_.hand.full_frame_ms = 0; }

    double full_page_ms() const { return state_.hand.full_frame_ms; }

    // Runs the event loop from the hand's last step until the full page has followed; the
    // milliseconds that took, or nothing when it never came.
    std::optional<double> wait_for_full_page() {
        state_.hand.full_frame_ms = -1;
        const auto start = Clock::now();
        while (state_.hand.full_frame_ms < 0) {
            inject::process_events_for(1);
            if (Clock::now() - start > std::chrono::milliseconds(settle_give_up_ms)) {
                return std::nullopt;
            }
        }
        inject::process_events();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

  private:
    AppState state_;
    std::optional<std::string> refusal_;
    platform::Window* main_window_ = nullptr;
    int step_ = 0;
    int y_ = drag_bottom;
};

void count_frames(benchmark::State& state, double wall_seconds) {
    state.counters["frames_per_cpu_s"] =
        benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["frames_per_s"] = static_cast<double>(state.iterations()) / wall_seconds;
}

// Frames as the hand moves: whole pages at full k, or the program's own choice.
void BM_DragFrames(benchmark::State& state, std::vector<std::string> items, bool whole) {
    LiveWindow window(std::move(items));
    if (const std::string fault = window.fault(); !fault.empty()) {
        state.SkipWithError(fault.c_str());
        return;
    }
    state.counters["full_page_ms"] = window.full_page_ms();
    const auto start = Clock::now();
    for (auto _ : state) {
        if (whole) {
            window.draw_next_frame_whole();
        }
        window.drag_step();
    }
    count_frames(state, std::chrono::duration<double>(Clock::now() - start).count());
}

// From the hand's last step, a frame with fewer samples, to the full page drawn: the wall
// clock, which includes the wait before the full page starts.
void BM_FullPageAfterTheHandStops(benchmark::State& state, std::vector<std::string> items) {
    LiveWindow window(std::move(items));
    if (const std::string fault = window.fault(); !fault.empty()) {
        state.SkipWithError(fault.c_str());
        return;
    }
    double longest = 0;
    for (auto _ : state) {
        window.drag_step();
        const std::optional<double> took = window.wait_for_full_page();
        if (!took) {
            state.SkipWithError("The full page did not follow.");
            return;
        }
        state.SetIterationTime(*took / 1000);
        longest = std::max(longest, *took);
    }
    state.counters["longest_ms"] = longest;
    state.counters["full_page_ms"] = window.full_page_ms();
}

const std::vector<std::string> default_page = {};
const std::vector<std::string> mesh_161_by_81 = {"m=160", "n=80", "k=20"};
const std::vector<std::string> mesh_801_by_401 = {"m=800", "n=400", "k=20"};

}  // namespace
}  // namespace toven

int main(int argc, char** argv) {
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::test);
    using toven::BM_DragFrames;
    benchmark::RegisterBenchmark("BM_DragFrames/DefaultPageFullK", BM_DragFrames,
                                 toven::default_page, true)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(300);
    benchmark::RegisterBenchmark("BM_DragFrames/Curves161x81FullK", BM_DragFrames,
                                 toven::mesh_161_by_81, true)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(60);
    benchmark::RegisterBenchmark("BM_DragFrames/Curves801x401Moving", BM_DragFrames,
                                 toven::mesh_801_by_401, false)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(30);
    benchmark::RegisterBenchmark("BM_FullPageAfterTheHandStops/Curves801x401",
                                 toven::BM_FullPageAfterTheHandStops, toven::mesh_801_by_401)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
