#include "platform/qt/drawing_log.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>

#include "platform/qt/painter_canvas.h"

namespace toven::platform::qt {

namespace {

// A polyline's points that lie on one vertical (or horizontal) line cover no more of it than
// the stretch between their lowest and highest point, so however many there are, they are
// drawn alike by at most four: the first, the two ends of that stretch, and the last. A
// steep surface whose every sample jumps makes thousands of such points in one pixel column.
constexpr std::size_t max_straight_points = 4;

// The values along the line without repeats and without a point that lies between its
// neighbours, where the path runs on through it anyway.
std::size_t simplify(std::array<int, max_straight_points>& values) {
    std::size_t count = 0;
    for (const int value : values) {
        if (count > 0 && values[count - 1] == value) {
            continue;
        }
        if (count > 1 && std::min(values[count - 2], value) <= values[count - 1] &&
            values[count - 1] <= std::max(values[count - 2], value)) {
            --count;
        }
        values[count++] = value;
    }
    return count;
}

// Folds the points of `points` from `first` on that share one coordinate (`along_x`: the same
// y, else the same x), keeping the same first and last point and the same stretch covered.
void fold_straight_tail(std::vector<QPoint>& points, std::size_t first, bool along_x) {
    const auto across = [along_x](QPoint p) { return along_x ? p.y() : p.x(); };
    const auto along = [along_x](QPoint p) { return along_x ? p.x() : p.y(); };
    std::size_t start = points.size() - 1;
    while (start > first && points.size() - start <= max_straight_points &&
           across(points[start - 1]) == across(points.back())) {
        --start;
    }
    if (points.size() - start <= 2) {
        return;
    }
    int low = along(points[start]);
    int high = low;
    for (std::size_t i = start; i < points.size(); ++i) {
        low = std::min(low, along(points[i]));
        high = std::max(high, along(points[i]));
    }
    const int from = along(points[start]);
    const int to = along(points.back());
    std::array<int, max_straight_points> low_first{from, low, high, to};
    std::array<int, max_straight_points> high_first{from, high, low, to};
    const std::size_t low_count = simplify(low_first);
    const std::size_t high_count = simplify(high_first);
    const auto& values = low_count <= high_count ? low_first : high_first;
    const std::size_t count = std::min(low_count, high_count);
    const int line = across(points.back());
    points.resize(start + count);
    for (std::size_t i = 0; i < count; ++i) {
        points[start + i] = along_x ? QPoint(values[i], line) : QPoint(line, values[i]);
    }
}

// Whether `point` lies within `tolerance` of the segment from `a` to `b`, between its ends.
bool near_segment(QPoint point, QPoint a, QPoint b, double tolerance) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double px = point.x() - a.x();
    const double py = point.y() - a.y();
    const double length_squared = dx * dx + dy * dy;
    const double along = px * dx + py * dy;
    if (along < 0 || along > length_squared || length_squared == 0) {
        return false;
    }
    const double across = px * dy - py * dx;
    return across * across <= tolerance * tolerance * length_squared;
}

}  // namespace

void DrawingLog::merge_straight_tail(std::size_t first) {
    const std::size_t n = points_.size();
    if (n < first + 3) {
        merged_.clear();
        return;
    }
    const QPoint a = points_[n - 3];
    const QPoint b = points_[n - 2];
    const QPoint c = points_[n - 1];
    if (merged_after_ != n - 3) {
        merged_.clear();
    }
    const auto near = [&](QPoint p) { return near_segment(p, a, c, merge_tolerance_); };
    if (merged_.size() >= max_merged_points || !near(b) ||
        !std::all_of(merged_.begin(), merged_.end(), near)) {
        merged_.clear();
        merged_after_ = n - 2;
        return;
    }
    merged_.push_back(b);
    points_[n - 2] = c;
    points_.pop_back();
    merged_after_ = n - 3;
}

bool DrawingLog::make_room(std::size_t bytes) {
    const std::size_t held = ops_.size() * sizeof(DrawingOp) + points_.size() * sizeof(QPoint) +
                             fonts_.size() * sizeof(FontEntry) + text_bytes_;
    const std::size_t page =
        ops_.size() * page_bytes_per_op + points_.size() * page_bytes_per_point + text_bytes_;
    if (complete_ && (held + bytes > max_recorded_bytes || page > max_vector_page_bytes)) {
        complete_ = false;
        ops_ = {};
        fonts_ = {};
        texts_ = {};
        points_ = {};
    }
    return complete_;
}

void DrawingLog::add(const DrawingOp& op) {
    if (make_room(sizeof op)) {
        ops_.push_back(op);
    }
}

void DrawingLog::add_line(int device, QPoint from, QPoint to) {
    const bool goes_on = !ops_.empty() && ops_.back().kind == DrawingOp::Kind::polyline &&
                         ops_.back().device == device && points_.back() == from;
    if (goes_on) {
        if (make_room(sizeof to)) {
            DrawingOp& polyline = ops_.back();
            points_.push_back(to);
            const auto first = static_cast<std::size_t>(polyline.a);
            const std::size_t pushed = points_.size();
            const QPoint before = points_[pushed - 2];
            fold_straight_tail(points_, first, false);
            fold_straight_tail(points_, first, true);
            // A folded tail covers its stretch with other points: the merged ones start anew.
            if (points_.size() == pushed && points_[pushed - 2] == before) {
                merge_straight_tail(first);
            } else {
                merged_.clear();
                merged_after_ = points_.size() - 1;
            }
            polyline.b = static_cast<int>(points_.size() - first);
        }
        return;
    }
    if (make_room(sizeof(DrawingOp) + sizeof from + sizeof to)) {
        ops_.push_back({DrawingOp::Kind::polyline, device, static_cast<int>(points_.size()), 2});
        points_.push_back(from);
        points_.push_back(to);
    }
}

int DrawingLog::add_font(const LogicalFont& description, bool fixed_pitch) {
    if (!make_room(sizeof(FontEntry))) {
        return 0;
    }
    fonts_.push_back({description, fixed_pitch});
    return static_cast<int>(fonts_.size()) - 1;
}

int DrawingLog::add_text(std::string_view text) {
    const std::size_t bytes = sizeof(std::string) + text.size();
    if (!make_room(bytes)) {
        return 0;
    }
    text_bytes_ += bytes;
    texts_.emplace_back(text);
    return static_cast<int>(texts_.size()) - 1;
}

namespace {

void draw(PainterCanvas& canvas, const DrawingOp& op, const std::vector<std::string>& texts,
          const std::vector<QPoint>& points) {
    using Kind = DrawingOp::Kind;
    const Rect rect{op.a, op.b, op.c, op.d};
    switch (op.kind) {
        case Kind::pen:
            canvas.set_pen(op.a, op.colour);
            break;
        case Kind::brush:
            canvas.set_brush(op.colour);
            break;
        case Kind::background:
            canvas.set_background_colour(op.colour);
            break;
        case Kind::text_colour:
            canvas.set_text_colour(op.colour);
            break;
        case Kind::clip:
            canvas.set_clip(&rect);
            break;
        case Kind::no_clip:
            canvas.set_clip(nullptr);
            break;
        case Kind::fill:
            canvas.fill(rect, op.colour);
            break;
        case Kind::polyline:
            canvas.polyline(&points[static_cast<std::size_t>(op.a)], op.b);
            break;
        case Kind::rectangle:
            canvas.rectangle(op.a, op.b, op.c, op.d);
            break;
        case Kind::text:
            canvas.text_out(op.a, op.b, texts[static_cast<std::size_t>(op.c)]);
            break;
        case Kind::begin_device:
        case Kind::end_device:
        case Kind::font:
            break;
    }
}

}  // namespace

void DrawingLog::replay(SharedPainter& painter, QSize size) const {
    PainterCanvas(painter).fill({0, 0, size.width(), size.height()}, rgb(255, 255, 255));
    std::map<int, std::unique_ptr<PainterCanvas>> canvases;
    for (const DrawingOp& op : ops_) {
        switch (op.kind) {
            case DrawingOp::Kind::begin_device:
                canvases[op.device] = std::make_unique<PainterCanvas>(painter);
                break;
            case DrawingOp::Kind::end_device:
                canvases.erase(op.device);
                break;
            case DrawingOp::Kind::font: {
                const FontEntry& font = fonts_[static_cast<std::size_t>(op.a)];
                canvases.at(op.device)->set_font(font.description, font.fixed_pitch);
                break;
            }
            default:
                draw(*canvases.at(op.device), op, texts_, points_);
                break;
        }
    }
}

}  // namespace toven::platform::qt
