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

class DrawingLog {
  public:
    int new_device() { return next_device_++; }
    void add(const DrawingOp& op) { ops_.push_back(op); }
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
};

}  // namespace toven::platform::qt
