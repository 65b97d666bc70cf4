// One QPainter on one paint device, shared by every canvas that draws there (a window may
// hand out several devices at once). Painting begins when a canvas first draws, or, for a
// printer, when the document starts; a canvas whose state another canvas has overwritten
// is told so and sets its state again.
#pragma once

#include <QPainter>

namespace toven::platform::qt {

class PainterCanvas;

class SharedPainter {
  public:
    enum class Start { on_demand, explicitly };

    // `target` may be null (or an empty image): then nothing is drawn.
    explicit SharedPainter(QPaintDevice* target, Start start = Start::on_demand);
    ~SharedPainter();
    SharedPainter(const SharedPainter&) = delete;
    SharedPainter& operator=(const SharedPainter&) = delete;

    QPaintDevice* target() const { return target_; }
    // The drawing area: the target's size, or without a target the size the owner gives
    // (a window of no width still has its height).
    QSize size() const;
    void set_nominal_size(QSize size) { nominal_size_ = size; }
    bool active() const { return painter_.isActive(); }

    // Begins painting; false when the paint device refuses (a printer without a queue).
    bool begin();
    // Draws what the canvases hold back and ends painting; false when the device reports a
    // failure.
    bool end();
    // Ends painting on the old target (what was drawn stays there) and paints on `target`.
    void set_target(QPaintDevice* target);
    // Draws the lines the current canvas holds back, so the target shows everything drawn.
    void flush();

    // For canvases: the painter, begun when painting starts on demand, or null where
    // nothing can be drawn. `state_lost` tells the canvas to set its pen, brush, font and
    // clip again.
    QPainter* take(PainterCanvas& canvas, bool& state_lost);
    // A canvas that goes away.
    void forget(PainterCanvas& canvas);

  private:
    QPaintDevice* target_;
    Start start_;
    QPainter painter_;
    PainterCanvas* user_ = nullptr;
    QSize nominal_size_;
};

}  // namespace toven::platform::qt
