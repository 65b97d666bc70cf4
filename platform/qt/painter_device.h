// Devices that paint with QPainter on a QPaintDevice (a window's backing image, an offscreen
// picture, a printer page), through a canvas that keeps the old device's rules. A device
// copies what it needs from each object selected into it.
#pragma once

#include <utility>

#include "platform/device.h"
#include "platform/qt/painter_canvas.h"

namespace toven::platform::qt {

// A device of interface `Interface` (Device or PrinterDevice) drawing on a canvas.
template <class Interface>
class BasicPainterDevice : public Interface {
  public:
    explicit BasicPainterDevice(SharedPainter& painter, DrawingLog* log = nullptr,
                                int log_device = 0)
        : canvas_(painter, log, log_device) {}

    const Pen* select_pen(const Pen* pen) override {
        if (pen != nullptr) {
            canvas_.set_pen(pen->width, pen->colour);
        }
        return std::exchange(pen_, pen);
    }
    const Brush* select_brush(const Brush* brush) override {
        if (brush != nullptr) {
            canvas_.set_brush(brush->colour);
        }
        return std::exchange(brush_, brush);
    }
    const Font* select_font(const Font* font) override {
        if (font != nullptr) {
            canvas_.set_font(font->description, font->fixed_pitch);
        }
        return std::exchange(font_, font);
    }
    void set_background_colour(ColourRef colour) override { canvas_.set_background_colour(colour); }
    void set_text_colour(ColourRef colour) override { canvas_.set_text_colour(colour); }
    void select_clip_region(const Region* region) override {
        canvas_.set_clip(region != nullptr ? &region->rect : nullptr);
    }
    void fill_region(const Region& region, const Brush& brush) override {
        canvas_.fill(region.rect, brush.colour);
    }
    void move_to(int x, int y) override { canvas_.move_to(x, y); }
    void line_to(int x, int y) override { canvas_.line_to(x, y); }
    void rectangle(int left, int top, int right, int bottom) override {
        canvas_.rectangle(left, top, right, bottom);
    }
    void text_out(int x, int y, std::string_view text) override { canvas_.text_out(x, y, text); }
    Extent text_extent(std::string_view text) override { return canvas_.text_extent(text); }
    TextMetrics text_metrics() override { return canvas_.text_metrics(); }
    int capability(DeviceCapability which) override { return canvas_.capability(which); }
    SavedPixels save_pixels(const Rect& rect) override { return canvas_.save_pixels(rect); }
    void restore_pixels(const SavedPixels& saved) override { canvas_.restore_pixels(saved); }

    // Draws what the canvas holds back.
    void flush() { canvas_.flush(); }

  protected:
    PainterCanvas canvas_;

  private:
    const Pen* pen_ = nullptr;
    const Brush* brush_ = nullptr;
    const Font* font_ = nullptr;
};

// A device on a window or an image. The shared painter must outlive it.
class PainterDevice final : public BasicPainterDevice<Device> {
  public:
    using BasicPainterDevice::BasicPainterDevice;
};

}  // namespace toven::platform::qt
