#include "platform/qt/shared_painter.h"

#include "platform/qt/painter_canvas.h"

namespace toven::platform::qt {

namespace {

bool can_paint_on(const QPaintDevice* target) {
    return target != nullptr && target->width() > 0 && target->height() > 0;
}

}  // namespace

SharedPainter::SharedPainter(QPaintDevice* target, Start start) : target_(target), start_(start) {}

SharedPainter::~SharedPainter() {
    end();
}

QSize SharedPainter::size() const {
    return target_ != nullptr ? QSize(target_->width(), target_->height()) : nominal_size_;
}

bool SharedPainter::begin() {
    if (painter_.isActive()) {
        return true;
    }
    if (target_ == nullptr || !painter_.begin(target_)) {
        return false;
    }
    // The old device's rules: every pixel is the pen's colour or untouched.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.setBackgroundMode(Qt::TransparentMode);
    user_ = nullptr;
    return true;
}

bool SharedPainter::end() {
    if (!painter_.isActive()) {
        return true;
    }
    flush();
    user_ = nullptr;
    return painter_.end();
}

void SharedPainter::set_target(QPaintDevice* target) {
    end();
    target_ = target;
}

void SharedPainter::flush() {
    if (user_ != nullptr && painter_.isActive()) {
        user_->draw_held_lines(painter_);
    }
}

QPainter* SharedPainter::take(PainterCanvas& canvas, bool& state_lost) {
    state_lost = false;
    if (!painter_.isActive()) {
        if (start_ != Start::on_demand || !can_paint_on(target_) || !begin()) {
            return nullptr;
        }
    }
    if (user_ != &canvas) {
        flush();
        user_ = &canvas;
        state_lost = true;
    }
    return &painter_;
}

void SharedPainter::forget(PainterCanvas& canvas) {
    if (user_ == &canvas) {
        flush();
        user_ = nullptr;
    }
}

}  // namespace toven::platform::qt
