// What a sweep asks for (--sweep NAME=FROM:TO:FRAMES [--fps N]): the number item NAME moving
// from FROM to TO over FRAMES frames, into one looping GIF or one file a frame. Read and
// checked without drawing anything; sweep.h draws it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/refusal.h"

namespace toven {

inline constexpr int min_sweep_frames = 2;
// Each frame is drawn in full; a thousand frames of the default page take about half a minute.
inline constexpr int max_sweep_frames = 1000;
// Each frame may take as long as a page (plot_work.h), and the whole sweep, by the same
// measured work, this long: twenty such frames, so that a long sweep is refused before it
// keeps the command busy for many minutes.
inline constexpr double max_sweep_seconds = 60;
inline constexpr int default_frames_per_second = 20;
// A GIF counts a frame's time in hundredths of a second, and browsers show frames shorter
// than two hundredths more slowly than asked.
inline constexpr int max_frames_per_second = 50;

struct Sweep {
    std::string name;  // the number item that moves; empty when no sweep was asked for
    double from = 0;
    double to = 0;
    int frames = 0;
    int frames_per_second = default_frames_per_second;
    bool rate_given = false;  // --fps was given

    bool requested() const { return !name.empty(); }
};

// Reads the value of --sweep (NAME=FROM:TO:FRAMES) or --fps (N) into `sweep`; `value` is null
// when the option ends the command line. NAME must be a number item of the data tables.
std::optional<platform::Refusal> read_sweep_option(std::string_view option, const char* value,
                                                   Sweep& sweep);

// Whether `path` suits `sweep`: with a sweep a GIF, or a PNG, PDF or SVG name with one frame
// number pattern; --fps only with a sweep. Nothing when it does, else why not.
std::optional<platform::Refusal> sweep_file_refusal(const std::string& path, const Sweep& sweep);

// Frame i's value, FROM (1 - t) + TO t with t = i / (FRAMES - 1), as the text that sets the
// item; a counting item's value is rounded to a whole number.
std::string frame_value(const Sweep& sweep, int frame);

// Frame i's file name: the pattern's %d (or %0Nd) replaced by i, %% by %.
std::string frame_path(const std::string& pattern, int frame);

}  // namespace toven
