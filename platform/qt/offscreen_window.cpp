#include <QImage>
#include <algorithm>

#include "platform/qt/device_pixels.h"
#include "platform/qt/drawing_log.h"
#include "platform/qt/large_image.h"
#include "platform/qt/painter_device.h"
#include "platform/qt/picture_source.h"
#include "platform/qt/shared_painter.h"
#include "platform/window.h"

namespace toven::platform {

namespace {

// A window that is only its image. Its devices draw into the image and, when asked, into a
// recording, from which the same picture is drawn again as a PDF or SVG page.
class OffscreenWindow final : public Window, public qt::PictureSource {
  public:
    OffscreenWindow(int width, int height, OffscreenRecording recording, qreal pixel_ratio)
        : width_(std::max(width, 0)),
          height_(std::max(height, 0)),
          painter_(nullptr),
          recording_(recording == OffscreenRecording::vector_pages),
          pixel_ratio_(pixel_ratio),
          log_(qt::default_merge_tolerance * pixel_ratio) {
        if (width_ > 0 && height_ > 0) {
            image_ = qt::make_large_image(QSize(width_, height_), QImage::Format_RGB32);
            image_.fill(Qt::white);
            qt::set_pixel_ratio(image_, pixel_ratio);
            painter_.set_target(&image_);
        } else {
            painter_.set_nominal_size(QSize(width_, height_));
        }
    }

    ~OffscreenWindow() override { painter_.end(); }

    Rect client_rect() const override { return {0, 0, width_, height_}; }

    Device* get_device() override {
        ++devices_;
        return new qt::PainterDevice(painter_, recording_ ? &log_ : nullptr, log_.new_device());
    }

    void release_device(Device* device) override {
        if (device == nullptr) {
            return;
        }
        delete device;
        if (--devices_ == 0) {
            painter_.end();
        }
    }

    void invalidate(const Rect&) override {}

    const QImage& picture() const override {
        painter_.flush();
        return image_;
    }

    const qt::DrawingLog* recording() const override {
        return recording_ && log_.complete() ? &log_ : nullptr;
    }

    qreal pixel_ratio() const override { return pixel_ratio_; }

  private:
    int width_;
    int height_;
    QImage image_;
    mutable qt::SharedPainter painter_;
    bool recording_;
    qreal pixel_ratio_;
    qt::DrawingLog log_;
    int devices_ = 0;
};

}  // namespace

std::unique_ptr<Window> create_offscreen_window(int width, int height, OffscreenRecording recording,
                                                double pixel_ratio) {
    return std::make_unique<OffscreenWindow>(width, height, recording, pixel_ratio);
}

}  // namespace toven::platform
