// Drawing with the old device's rules on a shared QPainter: aliased, integer coordinates,
// solid pens and brushes, a rectangular clip, lines without their end point (one-pixel pens),
// text on an opaque cell. Consecutive lines are held back and reach the painter in one call;
// every other drawing operation, a pen or clip change and a change of canvas draw them first.
#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QLine>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/device.h"
#include "platform/qt/drawing_log.h"
#include "platform/qt/font_resolver.h"

namespace toven::platform::qt {

class SharedPainter;

class PainterCanvas {
  public:
    // `log`, when given, records every operation for replay on another page.
    explicit PainterCanvas(SharedPainter& painter, DrawingLog* log = nullptr, int log_device = 0);
    ~PainterCanvas();
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    void set_pen(int width, ColourRef colour);
    void set_brush(ColourRef colour);
    void set_font(const LogicalFont& description, bool fixed_pitch);
    void set_background_colour(ColourRef colour);
    void set_text_colour(ColourRef colour);
    void set_clip(const Rect* rect);  // null lifts clipping

    void fill(const Rect& rect, ColourRef colour);
    void move_to(int x, int y);
    void line_to(int x, int y);
    // Lines from point to point, as move_to and line_to draw them.
    void polyline(const QPoint* points, int count);
    void rectangle(int left, int top, int right, int bottom);
    void text_out(int x, int y, std::string_view text);

    // The target's pixels of `rect`, cut to the target, with every line held back drawn;
    // nothing when the target is not an image.
    SavedPixels save_pixels(const Rect& rect);
    // Puts them back unclipped, over whatever was drawn there since.
    void restore_pixels(const SavedPixels& saved);

    Extent text_extent(std::string_view text);
    TextMetrics text_metrics();
    int capability(DeviceCapability which) const;

    // Draws the lines held back.
    void flush();
    // For the shared painter, which hands the painter to another canvas: the held lines are
    // drawn on `painter`, whose state is still this canvas's.
    void draw_held_lines(QPainter& painter);

  private:
    QPainter* painter();
    void apply_line_pen(QPainter& painter);
    // On a raster image a one-pixel line gets the old device's pixels; on a page (PDF, SVG,
    // printer) a line is a line.
    bool pixel_exact(QPainter& painter) const;
    void apply_clip(QPainter& painter);
    void log(DrawingOp::Kind kind, int a = 0, int b = 0, int c = 0, int d = 0,
             ColourRef colour = 0);
    const QFontMetrics& metrics();

    SharedPainter& shared_;
    DrawingLog* log_;
    int log_device_;
    FontResolver fonts_;

    int pen_width_ = 1;
    QColor pen_colour_{Qt::black};
    QColor brush_colour_{Qt::white};
    QColor background_colour_{Qt::white};
    QColor text_colour_{Qt::black};
    QFont font_;
    bool fixed_pitch_ = false;
    std::optional<QFontMetrics> metrics_;
    std::optional<QRect> clip_;
    QPoint position_;

    // What the painter holds of this canvas's state.
    bool pen_applied_ = false;
    bool brush_applied_ = false;
    bool font_applied_ = false;
    bool clip_applied_ = false;

    std::vector<QLine> held_lines_;
    std::vector<QLine> runs_;  // the held lines' pixel runs, kept to reuse its memory
};

}  // namespace toven::platform::qt
