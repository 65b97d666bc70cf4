#include "platform/qt/sizing_grip.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace toven::platform::qt {

namespace {

// The smallest a control may be dragged: its grips and a few characters' room.
constexpr int narrowest_control = 3 * SizingGrip::grip_size + 16;
constexpr int shortest_control = 3 * SizingGrip::grip_size;
// The ridges drawn across a grip, so that it reads as something to take hold of.
constexpr int ridges = 3;
constexpr int ridge_gap = 4;
constexpr int ridge_length = 2;

void draw_grip(QPainter& painter, const QPalette& palette, const QRect& grip, bool vertical) {
    painter.fillRect(grip, palette.button());
    painter.setPen(palette.dark().color());
    painter.drawRect(grip.adjusted(0, 0, -1, -1));
    const QPoint middle = grip.center();
    for (int i = 0; i < ridges; ++i) {
        const int offset = (i - ridges / 2) * ridge_gap;
        if (vertical) {
            painter.drawLine(middle.x() - ridge_length / 2, middle.y() + offset,
                             middle.x() + ridge_length / 2, middle.y() + offset);
        } else {
            painter.drawLine(middle.x() + offset, middle.y() - ridge_length / 2,
                             middle.x() + offset, middle.y() + ridge_length / 2);
        }
    }
}

}  // namespace

SizingGrip::SizingGrip(QWidget* control, QWidget* parent, bool bottom_grip)
    : QWidget(parent), control_(control), bottom_grip_(bottom_grip) {
    control_->setParent(this);
    control_->show();
    setMouseTracking(true);
}

QRect SizingGrip::right_grip() const {
    return {width() - grip_size, 0, grip_size, height()};
}

QRect SizingGrip::bottom_grip() const {
    return bottom_grip_ ? QRect(0, height() - grip_size, width() - grip_size, grip_size) : QRect();
}

void SizingGrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw_grip(painter, palette(), right_grip(), true);
    if (bottom_grip_) {
        draw_grip(painter, palette(), bottom_grip(), false);
    }
}

void SizingGrip::resizeEvent(QResizeEvent*) {
    const int bottom_room = bottom_grip_ ? grip_size : 0;
    control_->setGeometry(0, 0, std::max(width() - grip_size, 0),
                          std::max(height() - bottom_room, 0));
}

// Positions are taken in the parent's coordinates, where the grips' top left stays put.
void SizingGrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    dragging_width_ = at.x() >= width() - grip_size;
    dragging_height_ = bottom_grip_ && at.y() >= height() - grip_size;
    drag_start_ = mapToParent(at);
    size_at_start_ = size();
}

// Over the grips the cursor shows which way they move.
void SizingGrip::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!dragging_width_ && !dragging_height_) {
        const bool on_right = at.x() >= width() - grip_size;
        const bool on_bottom = bottom_grip_ && at.y() >= height() - grip_size;
        setCursor(on_right && on_bottom ? Qt::SizeFDiagCursor
                  : on_bottom           ? Qt::SizeVerCursor
                                        : Qt::SizeHorCursor);
        return;
    }
    const QPoint moved = mapToParent(at) - drag_start_;
    QSize size = size_at_start_;
    if (dragging_width_) {
        size.setWidth(std::max(size.width() + moved.x(), narrowest_control));
    }
    if (dragging_height_) {
        size.setHeight(std::max(size.height() + moved.y(), shortest_control));
    }
    resize(size);
}

void SizingGrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_width_ = dragging_height_ = false;
    }
}

}  // namespace toven::platform::qt
