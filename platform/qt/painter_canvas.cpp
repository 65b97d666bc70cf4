#include "platform/qt/painter_canvas.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "platform/qt/line_runs.h"
#include "platform/qt/shared_painter.h"
#include "platform/qt/svg_clips.h"
#include "platform/qt/text_bytes.h"

namespace toven::platform::qt {

namespace {

// How many lines are held back before they are drawn: bounds the memory a long run of
// lines takes (16 bytes a line), while one painter call still draws thousands.
constexpr std::size_t max_held_lines = 8192;

// The resolution assumed where there is no paint device to ask.
constexpr int default_dpi = 96;
constexpr double millimetres_per_inch = 25.4;

QColor colour_of(ColourRef colour) {
    return QColor(red_of(colour), green_of(colour), blue_of(colour));
}

// Far beyond any drawing surface, and small enough that the width of a rectangle between two
// such coordinates fits an int: rectangle edges are clamped to it, which moves no visible
// pixel.
constexpr int coordinate_limit = 1 << 24;

int clamped(int coordinate) {
    return std::clamp(coordinate, -coordinate_limit, coordinate_limit);
}

Rect clamped(const Rect& rect) {
    return {clamped(rect.left), clamped(rect.top), clamped(rect.right), clamped(rect.bottom)};
}

QRect to_qrect(const Rect& rect) {
    const Rect r = clamped(rect);
    return QRect(r.left, r.top, std::max(r.width(), 0), std::max(r.height(), 0));
}

// The image a raster painter paints on, where its pixels can be written directly: a run of
// pixels then costs a few stores instead of a trip through the painter's line drawing.
QImage* writable_image(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(device);
    // A copy that shares the buffer (a snapshot taken while the painter is open) must keep
    // its pixels: the buffer is written directly only while this image alone holds it.
    if (!image->isDetached()) {
        return nullptr;
    }
    const QImage::Format format = image->format();
    const bool four_bytes = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                            format == QImage::Format_ARGB32_Premultiplied;
    return four_bytes ? image : nullptr;
}

// Writes the pixels of one-pixel lines in an opaque colour, cut to `bounds`. The painter
// has begun on the image, so its buffer is the one written here too: constBits() reaches it
// without detaching from it, and writable_image has checked that no copy shares it.
void write_lines(QImage& image, const std::vector<QLine>& lines, const QRect& bounds, QRgb colour) {
    auto* bits = const_cast<uchar*>(image.constBits());
    const qsizetype stride = image.bytesPerLine();
    auto row = [&](std::int64_t y) { return reinterpret_cast<QRgb*>(bits + y * stride); };
    // A run is already cut to the bounds along its length; one beside them is left out.
    auto write = [&](const LineRun& run) {
        if (run.along_y) {
            if (run.across >= bounds.left() && run.across <= bounds.right()) {
                for (std::int64_t y = run.first; y <= run.last; ++y) {
                    row(y)[run.across] = colour;
                }
            }
        } else if (run.across >= bounds.top() && run.across <= bounds.bottom()) {
            std::fill(row(run.across) + run.first, row(run.across) + run.last + 1, colour);
        }
    };
    for (const QLine& line : lines) {
        for_each_line_run(line.p1(), line.p2(), bounds, write);
    }
}

}  // namespace

PainterCanvas::PainterCanvas(SharedPainter& painter, DrawingLog* log, int log_device)
    : shared_(painter), log_(log), log_device_(log_device), fonts_(painter.target()) {
    font_ = fonts_.default_font();
    this->log(DrawingOp::Kind::begin_device);
}

PainterCanvas::~PainterCanvas() {
    shared_.forget(*this);
    log(DrawingOp::Kind::end_device);
}

void PainterCanvas::log(DrawingOp::Kind kind, int a, int b, int c, int d, ColourRef colour) {
    if (log_ != nullptr) {
        log_->add({kind, log_device_, a, b, c, d, colour});
    }
}

QPainter* PainterCanvas::painter() {
    bool state_lost = false;
    QPainter* painter = shared_.take(*this, state_lost);
    if (state_lost) {
        pen_applied_ = brush_applied_ = font_applied_ = clip_applied_ = false;
    }
    if (painter != nullptr) {
        apply_clip(*painter);
    }
    return painter;
}

void PainterCanvas::apply_line_pen(QPainter& painter) {
    if (pen_applied_) {
        return;
    }
    // A one-pixel pen is flat-capped, so a line stops at its end point (on an image the runs
    // of line_runs.h choose its pixels); wider pens were round-capped and round-joined on
    // the old device.
    QPen pen(pen_colour_, pen_width_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (pen_width_ > 1) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    painter.setPen(pen);
    pen_applied_ = true;
}

void PainterCanvas::apply_clip(QPainter& painter) {
    if (clip_applied_) {
        return;
    }
    if (clip_) {
        painter.setClipRect(*clip_);
    } else {
        painter.setClipping(false);
    }
    if (painter.paintEngine()->type() == QPaintEngine::SVG) {
        mark_svg_clip(painter, clip_ ? &*clip_ : nullptr, shared_.size());
    }
    clip_applied_ = true;
}

void PainterCanvas::set_pen(int width, ColourRef colour) {
    flush();
    pen_width_ = std::max(width, 1);
    pen_colour_ = colour_of(colour);
    pen_applied_ = false;
    log(DrawingOp::Kind::pen, width, 0, 0, 0, colour);
}

void PainterCanvas::set_brush(ColourRef colour) {
    brush_colour_ = colour_of(colour);
    brush_applied_ = false;
    log(DrawingOp::Kind::brush, 0, 0, 0, 0, colour);
}

void PainterCanvas::set_font(const LogicalFont& description, bool fixed_pitch) {
    font_ = fonts_.resolve(description, fixed_pitch);
    fixed_pitch_ = fixed_pitch;
    metrics_.reset();
    font_applied_ = false;
    if (log_ != nullptr) {
        log(DrawingOp::Kind::font, log_->add_font(description, fixed_pitch));
    }
}

void PainterCanvas::set_background_colour(ColourRef colour) {
    background_colour_ = colour_of(colour);
    log(DrawingOp::Kind::background, 0, 0, 0, 0, colour);
}

void PainterCanvas::set_text_colour(ColourRef colour) {
    text_colour_ = colour_of(colour);
    log(DrawingOp::Kind::text_colour, 0, 0, 0, 0, colour);
}

void PainterCanvas::set_clip(const Rect* rect) {
    flush();
    if (rect != nullptr) {
        clip_ = to_qrect(*rect);
        log(DrawingOp::Kind::clip, rect->left, rect->top, rect->right, rect->bottom);
    } else {
        clip_.reset();
        log(DrawingOp::Kind::no_clip);
    }
    clip_applied_ = false;
}

void PainterCanvas::fill(const Rect& rect, ColourRef colour) {
    flush();
    log(DrawingOp::Kind::fill, rect.left, rect.top, rect.right, rect.bottom, colour);
    const QRect area = to_qrect(rect);
    if (QPainter* p = painter(); p != nullptr && !area.isEmpty()) {
        p->fillRect(area, colour_of(colour));
    }
}

void PainterCanvas::move_to(int x, int y) {
    position_ = QPoint(x, y);
}

void PainterCanvas::line_to(int x, int y) {
    const QPoint from = position_;
    position_ = QPoint(x, y);
    if (log_ != nullptr) {
        log_->add_line(log_device_, from, position_);
    }
    // The first held line claims the painter, so that lines and the drawing of other
    // canvases on the same target keep their order.
    if (held_lines_.empty() && painter() == nullptr) {
        return;
    }
    held_lines_.emplace_back(from, position_);
    if (held_lines_.size() >= max_held_lines) {
        flush();
    }
}

void PainterCanvas::polyline(const QPoint* points, int count) {
    if (count < 2) {
        return;
    }
    QPainter* p = painter();
    if (p != nullptr && !pixel_exact(*p)) {
        // One path on a page, so a PDF or SVG holds a curve as one element.
        flush();
        for (int i = 1; i < count && log_ != nullptr; ++i) {
            log_->add_line(log_device_, points[i - 1], points[i]);
        }
        apply_clip(*p);
        apply_line_pen(*p);
        p->drawPolyline(points, count);
        position_ = points[count - 1];
        return;
    }
    move_to(points[0].x(), points[0].y());
    for (int i = 1; i < count; ++i) {
        line_to(points[i].x(), points[i].y());
    }
}

bool PainterCanvas::pixel_exact(QPainter& painter) const {
    return pen_width_ == 1 && painter.paintEngine()->type() == QPaintEngine::Raster;
}

void PainterCanvas::flush() {
    if (held_lines_.empty()) {
        return;
    }
    if (QPainter* p = painter()) {
        draw_held_lines(*p);
    }
    held_lines_.clear();
}

void PainterCanvas::draw_held_lines(QPainter& painter) {
    if (held_lines_.empty()) {
        return;
    }
    apply_clip(painter);
    apply_line_pen(painter);
    if (pixel_exact(painter)) {
        QRect bounds(QPoint(0, 0), shared_.size());
        if (clip_) {
            bounds &= *clip_;
        }
        if (QImage* image = writable_image(painter)) {
            write_lines(*image, held_lines_, bounds, pen_colour_.rgb());
        } else {
            runs_.clear();
            for (const QLine& line : held_lines_) {
                append_line_runs(line.p1(), line.p2(), bounds, runs_);
            }
            painter.drawLines(runs_.data(), static_cast<int>(runs_.size()));
        }
    } else {
        painter.drawLines(held_lines_.data(), static_cast<int>(held_lines_.size()));
    }
    held_lines_.clear();
}

void PainterCanvas::rectangle(int left, int top, int right, int bottom) {
    flush();
    log(DrawingOp::Kind::rectangle, left, top, right, bottom);
    left = clamped(left);
    top = clamped(top);
    right = clamped(right);
    bottom = clamped(bottom);
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    QPainter* p = painter();
    if (p == nullptr || right - left < 1 || bottom - top < 1) {
        return;
    }
    apply_line_pen(*p);
    if (pen_width_ > 1) {
        // Square corners: a wide frame keeps its full width round the corner.
        QPen pen = p->pen();
        pen.setJoinStyle(Qt::MiterJoin);
        p->setPen(pen);
        pen_applied_ = false;
    }
    if (!brush_applied_) {
        p->setBrush(brush_colour_);
        brush_applied_ = true;
    }
    // Right and bottom edges are exclusive: a one-pixel outline covers left..right-1.
    p->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void PainterCanvas::text_out(int x, int y, std::string_view text) {
    flush();
    if (log_ != nullptr) {
        log(DrawingOp::Kind::text, x, y, log_->add_text(text));
    }
    QPainter* p = painter();
    if (p == nullptr || text.empty()) {
        return;
    }
    x = clamped(x);
    y = clamped(y);
    const QString string = text_from_bytes(text);
    const QFontMetrics& font_metrics = metrics();
    p->fillRect(QRect(x, y, font_metrics.horizontalAdvance(string), font_metrics.height()),
                background_colour_);
    if (!font_applied_) {
        p->setFont(font_);
        font_applied_ = true;
    }
    p->setPen(text_colour_);
    pen_applied_ = false;
    const bool xml_page = p->paintEngine()->type() == QPaintEngine::SVG;
    p->drawText(QPoint(x, y + font_metrics.ascent()), xml_page ? xml_characters(string) : string);
}

SavedPixels PainterCanvas::save_pixels(const Rect& rect) {
    shared_.flush();
    const QPaintDevice* target = shared_.target();
    if (target == nullptr || target->devType() != QInternal::Image) {
        return {};
    }
    const auto& image = *static_cast<const QImage*>(target);
    const QRect area = to_qrect(rect) & image.rect();
    if (area.isEmpty()) {
        return {};
    }
    SavedPixels saved{
        {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()}, {}};
    saved.pixels.reserve(static_cast<std::size_t>(area.width()) * area.height());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            saved.pixels.push_back(rgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
        }
    }
    return saved;
}

void PainterCanvas::restore_pixels(const SavedPixels& saved) {
    const Rect& rect = saved.rect;
    if (rect.width() <= 0 || rect.height() <= 0 ||
        saved.pixels.size() != static_cast<std::size_t>(rect.width()) * rect.height()) {
        return;
    }
    flush();
    QPainter* p = painter();
    if (p == nullptr) {
        return;
    }
    QImage block(rect.width(), rect.height(), QImage::Format_RGB32);
    auto pixel = saved.pixels.begin();
    for (int y = 0; y < rect.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(block.scanLine(y));
        for (int x = 0; x < rect.width(); ++x, ++pixel) {
            line[x] = qRgb(red_of(*pixel), green_of(*pixel), blue_of(*pixel));
        }
    }
    // The painter's clip and mode are this canvas's and come back as they were.
    p->save();
    p->setClipping(false);
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(QPoint(rect.left, rect.top), block);
    p->restore();
}

const QFontMetrics& PainterCanvas::metrics() {
    if (!metrics_) {
        QPaintDevice* target = shared_.target();
        if (target != nullptr && target->logicalDpiY() > 0) {
            metrics_.emplace(font_, target);
        } else {
            metrics_.emplace(font_);
        }
    }
    return *metrics_;
}

Extent PainterCanvas::text_extent(std::string_view text) {
    const QFontMetrics& font_metrics = metrics();
    return {font_metrics.horizontalAdvance(text_from_bytes(text)), font_metrics.height()};
}

TextMetrics PainterCanvas::text_metrics() {
    const QFontMetrics& font_metrics = metrics();
    TextMetrics result;
    result.ascent = font_metrics.ascent();
    result.descent = font_metrics.descent();
    result.height = result.ascent + result.descent;
    const int em =
        font_.pixelSize() > 0
            ? font_.pixelSize()
            : static_cast<int>(
                  font_.pointSizeF() * capability(DeviceCapability::logical_pixels_y) / 72.0 + 0.5);
    result.internal_leading = std::max(result.height - em, 0);
    // A fixed-pitch face's every character has the same width, whatever average the face
    // declares (some declare one that counts their wide characters).
    result.ave_char_width = fixed_pitch_ ? font_metrics.horizontalAdvance(QLatin1Char('x'))
                                         : font_metrics.averageCharWidth();
    result.max_char_width = font_metrics.maxWidth();
    return result;
}

int PainterCanvas::capability(DeviceCapability which) const {
    const QPaintDevice* target = shared_.target();
    const bool measurable = target != nullptr && target->logicalDpiX() > 0;
    const QSize size = shared_.size();
    const auto millimetres = [](int pixels) {
        return static_cast<int>(pixels * millimetres_per_inch / default_dpi + 0.5);
    };
    switch (which) {
        case DeviceCapability::logical_pixels_x:
            return measurable ? target->logicalDpiX() : default_dpi;
        case DeviceCapability::logical_pixels_y:
            return measurable ? target->logicalDpiY() : default_dpi;
        case DeviceCapability::width_pixels:
            return size.width();
        case DeviceCapability::height_pixels:
            return size.height();
        case DeviceCapability::width_millimetres:
            return measurable ? target->widthMM() : millimetres(size.width());
        case DeviceCapability::height_millimetres:
            return measurable ? target->heightMM() : millimetres(size.height());
    }
    return 0;
}

}  // namespace toven::platform::qt
