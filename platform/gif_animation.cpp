#include "platform/gif_animation.h"

#include <string>

#include "platform/gif_frame.h"
#include "platform/visible_text.h"

namespace toven::platform {

namespace {

// The header of a GIF89a screen of the given size without a palette of its own (each frame
// brings one), and the application block by which browsers loop it: 0 repeats for ever.
std::vector<std::uint8_t> animation_start(int width, int height) {
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    put_gif_word(out, width);
    put_gif_word(out, height);
    constexpr std::uint8_t eight_bit_colour_resolution = 7 << 4;
    out.insert(out.end(), {eight_bit_colour_resolution, 0, 0});
    out.insert(out.end(), {0x21, 0xff, 11});
    for (const char c : std::string_view("NETSCAPE2.0")) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    out.insert(out.end(), {3, 1, 0, 0, 0});
    return out;
}

constexpr std::uint8_t trailer = 0x3b;

}  // namespace

GifAnimation::GifAnimation(std::string path) : path_(path), file_(std::move(path)) {}

std::optional<Refusal> GifAnimation::write(const std::vector<std::uint8_t>& bytes) {
    if (file_.write(reinterpret_cast<const char*>(bytes.data()), bytes.size())) {
        return std::nullopt;
    }
    if (auto cause = file_.failure()) {
        return cause;
    }
    return Refusal{"Cannot write " + quoted_path(path_) + "."};
}

std::optional<Refusal> GifAnimation::open(int width, int height) {
    if (auto refusal = file_.open()) {
        return refusal;
    }
    width_ = width;
    height_ = height;
    return write(animation_start(width, height));
}

std::optional<Refusal> GifAnimation::add_frame(const Image& image, int centiseconds) {
    const bool fits = image.width == width_ && image.height == height_;
    const std::optional<IndexedColours> colours = fits ? index_colours(image.pixels) : std::nullopt;
    return add_frame(
        image.width, image.height,
        colours ? std::optional(encode_gif_frame(*colours, image.width, image.height, centiseconds))
                : std::nullopt);
}

std::optional<Refusal> GifAnimation::add_frame(
    int width, int height, const std::optional<std::vector<std::uint8_t>>& encoded) {
    if (width != width_ || height != height_) {
        return Refusal{"Cannot write " + quoted_path(path_) +
                       ": a frame is not of the animation's size."};
    }
    if (!encoded) {
        return Refusal{"Cannot write " + quoted_path(path_) + ": a frame has more than " +
                       std::to_string(max_palette_colours) + " colours."};
    }
    return write(*encoded);
}

std::optional<Refusal> GifAnimation::commit() {
    if (auto failure = write({trailer})) {
        return failure;
    }
    return file_.commit();
}

}  // namespace toven::platform
