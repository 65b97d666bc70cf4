// A device context: the surface that drawing goes to (a window's client area, an offscreen
// image or page, a printer page). It follows the old device's rules: no anti-aliasing,
// integer coordinates with y downward, solid pens and brushes, rectangular clipping, a line
// that leaves out its end point, and text placed by its top-left corner on an opaque cell
// of the background colour. A device copies what it needs from an object when the object
// is selected; the pointer a select returns is only for selecting the object back while the
// caller still holds it alive.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drawing_objects.h"

namespace toven::platform {

struct TextMetrics {
    int height = 0;  // the character cell height
    int ascent = 0;
    int descent = 0;
    int internal_leading = 0;
    int ave_char_width = 0;  // the font's own average character width
    int max_char_width = 0;
};

// A copy of a rectangle of a device's pixels, row by row from the top left, kept to be put
// back where it came from. An empty rectangle holds nothing.
struct SavedPixels {
    Rect rect;
    std::vector<ColourRef> pixels;
};

enum class DeviceCapability {
    logical_pixels_x,  // pixels per logical inch
    logical_pixels_y,
    width_pixels,  // the drawing surface in device units
    height_pixels,
    width_millimetres,
    height_millimetres,
};

class Device : detail::Counted<detail::live_devices> {
  public:
    Device() = default;
    virtual ~Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Each select returns the object selected before (null at first).
    virtual const Pen* select_pen(const Pen* pen) = 0;
    virtual const Brush* select_brush(const Brush* brush) = 0;
    virtual const Font* select_font(const Font* font) = 0;

    virtual void set_background_colour(ColourRef colour) = 0;
    virtual void set_text_colour(ColourRef colour) = 0;

    // Clipping to a copy of the region's rectangle; null lifts clipping.
    virtual void select_clip_region(const Region* region) = 0;
    virtual void fill_region(const Region& region, const Brush& brush) = 0;

    virtual void move_to(int x, int y) = 0;
    // Draws from the current position to (x, y) in the selected pen, leaving out (x, y).
    virtual void line_to(int x, int y) = 0;
    // The outline in the selected pen, the inside in the selected brush.
    virtual void rectangle(int left, int top, int right, int bottom) = 0;

    // Text of single-byte characters at its top-left corner, on an opaque cell.
    virtual void text_out(int x, int y, std::string_view text) = 0;
    virtual Extent text_extent(std::string_view text) = 0;
    virtual TextMetrics text_metrics() = 0;

    virtual int capability(DeviceCapability which) = 0;

    // The pixels of `rect` as drawn so far (lines held back are drawn first), cut to the
    // drawing surface; nothing on a device that keeps no pixels (a printer, a vector page).
    virtual SavedPixels save_pixels(const Rect&) { return {}; }
    // Puts saved pixels back where they were, whatever the clip.
    virtual void restore_pixels(const SavedPixels&) {}
};

// A printer's page device: one document of pages. Each step says whether it succeeded.
class PrinterDevice : public Device {
  public:
    virtual bool start_document(std::string_view name) = 0;
    virtual bool start_page() = 0;
    virtual bool end_page() = 0;
    // True only once the print queue has taken the job.
    virtual bool end_document() = 0;
    // Why the last step failed, in the print system's words; nothing when it gave no reason.
    virtual std::optional<std::string> failure() const { return std::nullopt; }
};

}  // namespace toven::platform
