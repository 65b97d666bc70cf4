// A window as the drawing code sees it: a client area with a device to draw on. What the
// device draws goes into the window's backing image, which is what a person sees. The
// platform owns every window; the program never deletes one (it destroys a screen window
// through the window services, and owns an offscreen window through its unique_ptr).
#pragma once

#include <memory>
#include <vector>

#include "platform/colour.h"
#include "platform/device.h"
#include "platform/geometry.h"

namespace toven::platform {

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    // The client area, with (0, 0) at its top left; empty for a window of no size.
    virtual Rect client_rect() const = 0;
    // A device on the client area, owned by the caller until release_device gives it back.
    // Drawing stays in the backing image when the device is released.
    virtual Device* get_device() = 0;
    virtual void release_device(Device* device) = 0;
    // Marks a part of the client area to be shown again from the backing image.
    virtual void invalidate(const Rect& rect) = 0;
};

// A copy of a window's backing image, for tests and for saving.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<ColourRef> pixels;  // row by row from the top left
    ColourRef at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Whether an offscreen window also records what is drawn, so that save_picture can write
// PDF and SVG as vector pages (otherwise they hold the image). Recording costs about a
// quarter of the time a dense surface takes to draw.
enum class OffscreenRecording { image_only, vector_pages };

// A window that exists only as an image of the given size, white at first. The scripts'
// --render, the window's Save and the tests draw into it. A `pixel_ratio` of 2 draws as a
// screen window on a screen scaled by two: text takes twice the pixels.
std::unique_ptr<Window> create_offscreen_window(
    int width, int height, OffscreenRecording recording = OffscreenRecording::vector_pages,
    double pixel_ratio = 1);

}  // namespace toven::platform
