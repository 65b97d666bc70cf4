// An animated GIF that loops for ever, written frame by frame into a SafeFile: the file is
// replaced whole, once commit() succeeds, or not at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/palette.h"
#include "platform/refusal.h"
#include "platform/safe_file.h"
#include "platform/window.h"

namespace toven::platform {

class GifAnimation {
  public:
    // Nothing is touched before open(). `path` is the name the person gave; messages use it.
    explicit GifAnimation(std::string path);
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    // Starts the file with a screen of the given size. The message on failure.
    std::optional<Refusal> open(int width, int height);

    // Appends a frame of the screen's size, shown for `centiseconds`. Its colours are kept
    // exactly in a palette of the frame's own: an image of more than 256 colours is refused.
    std::optional<Refusal> add_frame(const Image& image, int centiseconds);
    // The same with the frame encoded already (gif_frame.h), which frames drawn side by side
    // do on their own threads; nothing stands for more than 256 colours.
    std::optional<Refusal> add_frame(int width, int height,
                                     const std::optional<std::vector<std::uint8_t>>& encoded);

    // Ends the animation and puts the file in the target's place. The message on failure.
    std::optional<Refusal> commit();

  private:
    std::optional<Refusal> write(const std::vector<std::uint8_t>& bytes);

    std::string path_;
    SafeFile file_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace toven::platform
