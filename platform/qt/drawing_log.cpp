#include "platform/qt/drawing_log.h"

#include <map>
#include <memory>

#include "platform/qt/painter_canvas.h"

namespace toven::platform::qt {

void DrawingLog::add(const DrawingOp& op) {
    if (!complete_) {
        return;
    }
    if (ops_.size() >= max_recorded_ops) {
        complete_ = false;
        ops_ = {};
        fonts_ = {};
        texts_ = {};
        return;
    }
    ops_.push_back(op);
}

int DrawingLog::add_font(const LogicalFont& description, bool fixed_pitch) {
    if (!complete_) {
        return 0;
    }
    fonts_.push_back({description, fixed_pitch});
    return static_cast<int>(fonts_.size()) - 1;
}

int DrawingLog::add_text(std::string_view text) {
    if (!complete_) {
        return 0;
    }
    texts_.emplace_back(text);
    return static_cast<int>(texts_.size()) - 1;
}

namespace {

void draw(PainterCanvas& canvas, const DrawingOp& op, const std::vector<std::string>& texts) {
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
        case Kind::move:
            canvas.move_to(op.a, op.b);
            break;
        case Kind::line:
            canvas.line_to(op.a, op.b);
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
                draw(*canvases.at(op.device), op, texts_);
                break;
        }
    }
}

}  // namespace toven::platform::qt
