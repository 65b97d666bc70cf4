#include "platform/gif_animation.h"

#include <gif_lib.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/palette.h"
#include "platform/visible_text.h"

namespace toven::platform {

namespace {

// The frame's palette as a GIF keeps it: a power of two of colours, at least two.
std::vector<GifColorType> gif_palette(const std::vector<std::uint32_t>& colours) {
    std::vector<GifColorType> palette;
    for (const ColourRef colour : colours) {
        palette.push_back({static_cast<GifByteType>(red_of(colour)),
                           static_cast<GifByteType>(green_of(colour)),
                           static_cast<GifByteType>(blue_of(colour))});
    }
    std::size_t size = 2;
    while (size < palette.size()) {
        size *= 2;
    }
    palette.resize(size, GifColorType{0, 0, 0});
    return palette;
}

// The application extension by which browsers loop an animation: 0 repeats for ever.
bool put_loop_forever(GifFileType* gif) {
    static constexpr char netscape[] = "NETSCAPE2.0";
    const std::array<GifByteType, 3> loop = {1, 0, 0};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, static_cast<int>(sizeof netscape - 1), netscape) == GIF_OK &&
           EGifPutExtensionBlock(gif, static_cast<int>(loop.size()), loop.data()) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

}  // namespace

GifAnimation::GifAnimation(std::string path) : path_(path), file_(std::move(path)) {}

GifAnimation::~GifAnimation() {
    close();
}

int GifAnimation::write_bytes(GifFileType* gif, const unsigned char* data, int size) {
    auto* self = static_cast<GifAnimation*>(gif->UserData);
    return self->file_.write(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size))
               ? size
               : 0;
}

// The file's own cause comes first: giflib knows only that a write failed.
std::optional<Refusal> GifAnimation::failure(const char* what) const {
    if (auto cause = file_.failure()) {
        return cause;
    }
    return Refusal{"Cannot write " + quoted_path(path_) + ": the GIF writer failed to " + what +
                   "."};
}

void GifAnimation::close() {
    if (gif_ != nullptr) {
        int error = 0;
        EGifCloseFile(gif_, &error);
        gif_ = nullptr;
    }
}

std::optional<Refusal> GifAnimation::open(int width, int height) {
    if (auto refusal = file_.open()) {
        return refusal;
    }
    int error = 0;
    gif_ = EGifOpen(this, write_bytes, &error);
    if (gif_ == nullptr) {
        return failure("start");
    }
    width_ = width;
    height_ = height;
    EGifSetGifVersion(gif_, true);
    constexpr int colour_resolution = 8;
    if (EGifPutScreenDesc(gif_, width, height, colour_resolution, 0, nullptr) != GIF_OK ||
        !put_loop_forever(gif_)) {
        return failure("start");
    }
    return std::nullopt;
}

std::optional<Refusal> GifAnimation::add_frame(const Image& image, int centiseconds) {
    const bool fits = image.width == width_ && image.height == height_;
    return add_frame(image.width, image.height, fits ? index_colours(image.pixels) : std::nullopt,
                     centiseconds);
}

std::optional<Refusal> GifAnimation::add_frame(int width, int height,
                                               std::optional<IndexedColours> colours,
                                               int centiseconds) {
    if (width != width_ || height != height_) {
        return Refusal{"Cannot write " + quoted_path(path_) +
                       ": a frame is not of the animation's size."};
    }
    if (!colours) {
        return Refusal{"Cannot write " + quoted_path(path_) + ": a frame has more than " +
                       std::to_string(max_palette_colours) + " colours."};
    }
    const std::vector<GifColorType> palette = gif_palette(colours->palette);
    std::vector<std::uint8_t>& indices = colours->indices;
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = centiseconds;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    std::array<GifByteType, 4> extension{};
    const std::size_t length = EGifGCBToExtension(&control, extension.data());
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(palette.size()), palette.data());
    bool written = map != nullptr &&
                   EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length),
                                    extension.data()) == GIF_OK &&
                   EGifPutImageDesc(gif_, 0, 0, width_, height_, false, map) == GIF_OK;
    GifFreeMapObject(map);
    for (int row = 0; written && row < height_; ++row) {
        written = EGifPutLine(gif_, indices.data() + static_cast<std::size_t>(row) * width_,
                              width_) == GIF_OK;
    }
    return written ? std::nullopt : failure("add a frame");
}

std::optional<Refusal> GifAnimation::commit() {
    int error = 0;
    const bool closed = EGifCloseFile(gif_, &error) == GIF_OK;
    gif_ = nullptr;
    if (!closed) {
        return failure("finish");
    }
    return file_.commit();
}

}  // namespace toven::platform
