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

// How far a point of a polyline may lie from the straight line that replaces it and its
// neighbours: 0.05 pt, which no printer or screen resolves, in device pixels at 96 per inch.
constexpr double default_merge_tolerance = 0.05 * 96.0 / 72.0;

// The most points one straight stretch may replace: bounds the work of each new point.
constexpr std::size_t max_merged_points = 64;

class DrawingLog {
  public:
    struct FontEntry {
        LogicalFont description;
        bool fixed_pitch = false;
    };

    // Points of a polyline within `merge_tolerance` device pixels of a straight stretch are
    // merged into it: a dense page then keeps one point where the curve bends.
    explicit DrawingLog(double merge_tolerance = default_merge_tolerance)
        : merge_tolerance_(merge_tolerance) {}

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

    // Each recorded device's operations in order, for writers of other page formats.
    const std::vector<DrawingOp>& operations() const { return ops_; }
    const std::vector<QPoint>& points() const { return points_; }
    const std::string& text(int index) const { return texts_[static_cast<std::size_t>(index)]; }
    const FontEntry& font(int index) const { return fonts_[static_cast<std::size_t>(index)]; }

    // Draws everything recorded, in order, with a canvas per recorded device, on a page of
    // `size` that starts white as the window did.
    void replay(SharedPainter& painter, QSize size) const;

  private:
    // False, and the log emptied, when `bytes` more would outgrow the limit of its memory or
    // its page would outgrow max_vector_page_bytes.
    bool make_room(std::size_t bytes);
    // Drops the polyline's last point but one where the points it stood for, and it, lie
    // within the tolerance of the straight line from the point before to the last.
    void merge_straight_tail(std::size_t first);

    std::vector<DrawingOp> ops_;
    std::vector<FontEntry> fonts_;
    std::vector<std::string> texts_;
    std::vector<QPoint> points_;  // the polylines' points, each polyline's together
    std::size_t text_bytes_ = 0;
    double merge_tolerance_;
    // The points dropped since the polyline's last kept point, which `merged_after` indexes.
    std::vector<QPoint> merged_;
    std::size_t merged_after_ = 0;
    int next_device_ = 0;
    bool complete_ = true;
};

}  // namespace toven::platform::qt
