// A record of what the devices of one offscreen window drew, in order, so the same picture
// can be drawn again on a vector page (PDF, SVG). Each device's operations carry its number,
// since two devices may draw on one window at once, each in its own pen, font and clip.
#pragma once

#include <QSize>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drawing_objects.h"

namespace toven::platform::qt {

class SharedPainter;

struct DrawingOp {
    enum class Kind : std::uint8_t {
        begin_device,
        end_device,
        pen,          // a = width
        brush,        //
        font,         // a = index of the font
        background,   //
        text_colour,  //
        clip,         // a b c d = the rectangle
        no_clip,
        fill,       // a b c d = the rectangle
        move,       // a b = the point
        line,       // a b = the point
        rectangle,  // a b c d = left, top, right, bottom
        text,       // a b = the point, c = index of the text
    };
    Kind kind;
    int device = 0;
    int a = 0, b = 0, c = 0, d = 0;
    ColourRef colour = 0;
};

// How many operations a log keeps: about 25 whole plots on one window, some 30 MB. A window
// drawn on longer than that (a long session of readouts) stops recording, and its vector
// files then hold its image instead.
constexpr std::size_t max_recorded_ops = 1 << 20;

class DrawingLog {
  public:
    int new_device() { return next_device_++; }
    void add(const DrawingOp& op);
    // False once the log has outgrown its limit and no longer holds the whole picture.
    bool complete() const { return complete_; }
    int add_font(const LogicalFont& description, bool fixed_pitch);
    int add_text(std::string_view text);

    // Draws everything recorded, in order, with a canvas per recorded device, on a page of
    // `size` that starts white as the window did.
    void replay(SharedPainter& painter, QSize size) const;

  private:
    struct FontEntry {
        LogicalFont description;
        bool fixed_pitch = false;
    };
    std::vector<DrawingOp> ops_;
    std::vector<FontEntry> fonts_;
    std::vector<std::string> texts_;
    int next_device_ = 0;
    bool complete_ = true;
};

}  // namespace toven::platform::qt
