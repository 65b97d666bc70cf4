// A sizing border for a control, as the old window system gave controls with a sizing frame:
// raised grips along the control's right edge (and, where asked, its bottom edge) that the user
// drags to make it wider or narrower (taller or shorter). The grip widget holds the control as
// its child, so the pair keeps the control's rectangle. Internal to the platform layer.
#pragma once

#include <QWidget>

namespace toven::platform::qt {

class SizingGrip final : public QWidget {
  public:
    // Takes `control` as its child, placed left of (and above) the grips; `parent` owns the
    // pair. A one-line control gets no bottom grip, which would take its text's room.
    SizingGrip(QWidget* control, QWidget* parent, bool bottom_grip);

    // The thickness of a grip, in pixels.
    static constexpr int grip_size = 6;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QRect right_grip() const;
    QRect bottom_grip() const;  // empty without a bottom grip

    QWidget* control_;
    const bool bottom_grip_;
    // The drag under way: the press in the parent's coordinates, which edges it moves, and the
    // size when it began.
    QPoint drag_start_;
    bool dragging_width_ = false;
    bool dragging_height_ = false;
    QSize size_at_start_;
};

}  // namespace toven::platform::qt
