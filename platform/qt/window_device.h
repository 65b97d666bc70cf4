// A device on a screen window's backing image: it paints like any painter device and tells
// its window after each drawing call, so the window shows the change at its next paint.
// Internal to the platform layer.
#pragma once

#include "platform/qt/painter_device.h"
#include "platform/qt/widget_window.h"

namespace toven::platform::qt {

class WindowDevice final : public BasicPainterDevice<Device> {
  public:
    // A window's default font is the system's fixed-pitch font: measured by its default
    // font, a window lays out text that a fixed-pitch font shows.
    WindowDevice(SharedPainter& painter, WidgetWindow* window)
        : BasicPainterDevice(painter), window_(window) {
        const Font* font = stock_fixed_font();
        canvas_.set_font(font->description, font->fixed_pitch);
    }

    void fill_region(const Region& region, const Brush& brush) override {
        BasicPainterDevice::fill_region(region, brush);
        window_->drawn();
    }
    void line_to(int x, int y) override {
        BasicPainterDevice::line_to(x, y);
        window_->drawn();
    }
    void rectangle(int left, int top, int right, int bottom) override {
        BasicPainterDevice::rectangle(left, top, right, bottom);
        window_->drawn();
    }
    void text_out(int x, int y, std::string_view text) override {
        BasicPainterDevice::text_out(x, y, text);
        window_->drawn();
    }
    void restore_pixels(const SavedPixels& saved) override {
        BasicPainterDevice::restore_pixels(saved);
        window_->drawn();
    }

  private:
    WidgetWindow* window_;
};

}  // namespace toven::platform::qt
