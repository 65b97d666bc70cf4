// A record of what the devices of one offscreen window drew, in order, so the same picture
// can be drawn again on a vector page (PDF, SVG). Each device's operations carry its number,
// since two devices may draw on one window at once, each in its own pen, font and clip.
#pragma once

#include <QPoint>
#include <QSize>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drawing_objects.h"
#include "platform/picture_files.h"

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
        polyline,   // a = index of the first point, b = how many points
        rectangle,  // a b c d = left, top, right, bottom
        text,       // a b = the point, c = index of the text
    };
    Kind kind;
    int device = 0;
    int a = 0, b = 0, c = 0, d = 0;
    ColourRef colour = 0;
};

// The memory a log may take, some 32 MB (the vectors' spare capacity aside). The default
// plot takes about 0.1 MB, a mesh of 200 by 200 lines with 50 steps under 1 MB; a surface
// whose pen changes at nearly every sample, or a very long session of readouts, outgrows it.
// Such a window stops recording, and its vector files then hold its image instead.
constexpr std::size_t max_recorded_bytes = std::size_t{32} << 20;

// A log's page is estimated as its SVG file (the larger of the two forms; PDF compresses), to
// be held to max_vector_page_bytes: each operation becomes an element of some 180 bytes (a
// change of pen a whole group with its style) and each point some 10 bytes.
constexpr std::size_t page_bytes_per_op = 180;
constexpr std::size_t page_bytes_per_point = 10;

class DrawingLog {
  public:
    int new_device() { return next_device_++; }
    void add(const DrawingOp& op);
    // A line drawn by `device`. A line that goes on from where the device's last line ended,
    // with nothing else drawn in between, extends that line into a polyline, so a curve is
    // one path on the page rather than thousands of lines.
    void add_line(int device, QPoint from, QPoint to);
    // False once the log has outgrown its limit and no longer holds the whole picture.
    bool complete() const { return complete_; }
    int add_font(const LogicalFont& description, bool fixed_pitch);
    int add_text(std::string_view text);

    // Draws everything recorded, in order, with a canvas per recorded device, on a page of
    // `size` that starts white as the window did.
    void replay(SharedPainter& painter, QSize size) const;

  private:
    // False, and the log emptied, when `bytes` more would outgrow the limit of its memory or
    // its page would outgrow max_vector_page_bytes.
    bool make_room(std::size_t bytes);

    struct FontEntry {
        LogicalFont description;
        bool fixed_pitch = false;
    };
    std::vector<DrawingOp> ops_;
    std::vector<FontEntry> fonts_;
    std::vector<std::string> texts_;
    std::vector<QPoint> points_;  // the polylines' points, each polyline's together
    std::size_t text_bytes_ = 0;
    int next_device_ = 0;
    bool complete_ = true;
};

}  // namespace toven::platform::qt
