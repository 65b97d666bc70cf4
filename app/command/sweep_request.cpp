// What a sweep asks for, read from the command line: the moving item, its range and the
// frames, and the names of the frame files. Reading it needs nothing of the drawing, so the
// command line checks a sweep without loading the picture part.
#include "app/command/sweep_request.h"

#include <charconv>
#include <cmath>

#include "app/data_items.h"
#include "app/files/output_formats.h"
#include "app/number_text.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

using platform::Refusal;

std::optional<Refusal> sweepable_refusal(const ItemSpec& item) {
    if (!item.sweepable) {
        return Refusal{"The option --sweep moves a number item, not " +
                       platform::quoted(item.name) + "."};
    }
    return std::nullopt;
}

std::optional<double> decimal(std::string_view text) {
    double value = 0;
    return read_decimal(text, value) == NumberFault::none ? std::optional(value) : std::nullopt;
}

std::optional<int> whole(std::string_view text, int low, int high) {
    int value = 0;
    return read_whole(text, low, high, value) == NumberFault::none ? std::optional(value)
                                                                   : std::nullopt;
}

// sweep = NAME "=" FROM ":" TO ":" FRAMES
std::optional<Refusal> read_sweep(std::string_view text, Sweep& sweep) {
    const Refusal form{"The option --sweep needs NAME=FROM:TO:FRAMES, for example a=1:3:20, not " +
                       platform::quoted(text) + "."};
    constexpr auto none = std::string_view::npos;
    const std::size_t equals = text.find('=');
    const std::size_t first_colon = equals == none ? none : text.find(':', equals + 1);
    const std::size_t second_colon = first_colon == none ? none : text.find(':', first_colon + 1);
    if (second_colon == none || text.find(':', second_colon + 1) != none) {
        return form;
    }
    const std::string_view name = trim_blanks(text.substr(0, equals));
    const auto from = decimal(text.substr(equals + 1, first_colon - equals - 1));
    const auto to = decimal(text.substr(first_colon + 1, second_colon - first_colon - 1));
    if (!from || !to) {
        return form;
    }
    const auto frames = whole(text.substr(second_colon + 1), min_sweep_frames, max_sweep_frames);
    if (!frames) {
        return Refusal{"The option --sweep needs FRAMES from " + std::to_string(min_sweep_frames) +
                       " to " + std::to_string(max_sweep_frames) + ", not " +
                       platform::quoted(text.substr(second_colon + 1)) + "."};
    }
    if (*from == *to) {
        return Refusal{
            "The option --sweep needs TO other than FROM: every frame would be the same."};
    }
    // The item must exist (the refusal names the items there are) and take FROM.
    const ItemSpec* item = nullptr;
    if (auto refusal = check_item(name, text.substr(equals + 1, first_colon - equals - 1), item)) {
        return refusal;
    }
    if (auto refusal = sweepable_refusal(*item)) {
        return refusal;
    }
    sweep = {std::string(name), *from, *to, *frames, sweep.frames_per_second, sweep.rate_given};
    return std::nullopt;
}

// A frame number pattern: the text around one %d, %Nd or %0Nd (N one digit), with %% for %.
struct FramePattern {
    std::string before;
    std::string after;
    int width = 0;
    bool zeros = false;
};

std::optional<FramePattern> read_pattern(const std::string& path) {
    FramePattern pattern;
    bool found = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        std::string& text = found ? pattern.after : pattern.before;
        if (path[i] != '%') {
            text += path[i];
            continue;
        }
        std::string_view rest = std::string_view(path).substr(i + 1);
        if (rest.starts_with('%')) {
            text += '%';
            ++i;
            continue;
        }
        if (found) {
            return std::nullopt;
        }
        const bool zeros = rest.starts_with('0');
        rest.remove_prefix(zeros ? 1 : 0);
        const bool has_width = !rest.empty() && rest[0] >= '1' && rest[0] <= '9';
        if (rest.size() < (has_width ? 2u : 1u) || rest[has_width ? 1 : 0] != 'd' ||
            (zeros && !has_width)) {
            return std::nullopt;
        }
        pattern.zeros = zeros;
        pattern.width = has_width ? rest[0] - '0' : 0;
        i += (zeros ? 1 : 0) + (has_width ? 1 : 0) + 1;
        found = true;
    }
    return found ? std::optional(pattern) : std::nullopt;
}

}  // namespace

std::optional<Refusal> read_sweep_option(std::string_view option, const char* value, Sweep& sweep) {
    if (option == "--fps") {
        const auto rate = value != nullptr ? whole(value, 1, max_frames_per_second) : std::nullopt;
        if (!rate) {
            return Refusal{"The option --fps needs frames a second, a whole number from 1 to " +
                           std::to_string(max_frames_per_second) + "."};
        }
        sweep.frames_per_second = *rate;
        sweep.rate_given = true;
        return std::nullopt;
    }
    if (value == nullptr) {
        return Refusal{"The option --sweep needs NAME=FROM:TO:FRAMES, for example a=1:3:20."};
    }
    if (sweep.requested()) {
        return Refusal{"The option --sweep can be given once."};
    }
    return read_sweep(value, sweep);
}

std::optional<Refusal> sweep_file_refusal(const std::string& path, const Sweep& sweep) {
    if (!sweep.requested()) {
        if (sweep.rate_given) {
            return Refusal{
                "The option --fps sets the pace of a sweep: give --sweep NAME=FROM:TO:FRAMES."};
        }
        if (written_by(path, Writer::animation)) {
            return Refusal{"A GIF is written by a sweep: give --sweep NAME=FROM:TO:FRAMES."};
        }
        return std::nullopt;
    }
    if (written_by(path, Writer::animation)) {
        return std::nullopt;
    }
    if (!written_by(path, Writer::page)) {
        return Refusal{"Cannot write " + platform::quoted_path(path) + ": a sweep writes a " +
                       extension_list(Writer::animation) + ", or " + extension_list(Writer::page) +
                       " files."};
    }
    if (!read_pattern(path)) {
        return Refusal{"Cannot write " + platform::quoted_path(path) +
                       ": a sweep writes one file a frame, so the name needs one frame number "
                       "pattern, %d or %03d (frame-%03d.png), and %% for a %."};
    }
    if (!sweep.rate_given) {
        return std::nullopt;
    }
    return Refusal{"The option --fps sets the pace of a GIF; frame files have none."};
}

std::string frame_value(const Sweep& sweep, int frame) {
    // lerp reaches FROM and TO exactly at the ends and never forms TO - FROM when the two
    // lie on either side of zero, where it could overflow.
    const double t = static_cast<double>(frame) / (sweep.frames - 1);
    const double value = std::lerp(sweep.from, sweep.to, t);
    const ItemSpec* item = find_item_spec(sweep.name);
    const bool whole_number = item != nullptr && item->kind == ItemKind::counting;
    // A counting item takes a whole number in plain digits, never "1e+05" nor "-0" (the
    // + 0.0 makes a negative zero positive).
    char text[400];
    const auto result = whole_number
                            ? std::to_chars(text, text + sizeof text, std::round(value) + 0.0,
                                            std::chars_format::fixed, 0)
                            : std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string frame_path(const std::string& pattern, int frame) {
    const auto parts = read_pattern(pattern);
    if (!parts) {
        return pattern;
    }
    std::string number = std::to_string(frame);
    if (number.size() < static_cast<std::size_t>(parts->width)) {
        number.insert(0, parts->width - number.size(), parts->zeros ? '0' : ' ');
    }
    return parts->before + number + parts->after;
}

}  // namespace toven
