// Devices and windows for tests that check the sequence of drawing calls rather than pixels.
//
// A RecordingDevice appends every call made on it, with its arguments and what the device
// holds at that moment (the selected pen's colour and width, the brush colour, the clip), to
// a CallLog that several devices may share, so that one log shows a screen and a printer
// device in the order they were used. It can pass every call on to another device, so a test
// gets the sequence and the picture at once. It is also a PrinterDevice whose document steps
// succeed unless told to fail. Without a device behind it, it answers text measurements and
// capabilities from its own settings: every character `metrics.ave_char_width` wide.
//
// A RecordingWindow hands out RecordingDevices that write to its log and counts what is
// given back; optionally each wraps a device of a real (e.g. offscreen) window, whose client
// area it then takes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/window.h"

namespace toven::test_support {

enum class Call {
    select_pen,
    select_brush,
    select_font,
    set_background_colour,
    set_text_colour,
    select_clip_region,
    fill_region,
    move_to,
    line_to,
    rectangle,
    text_out,
    text_extent,
    text_metrics,
    capability,
    start_document,
    start_page,
    end_page,
    end_document,
};

const char* call_name(Call call);

struct RecordedCall {
    Call call = Call::move_to;
    std::string device;  // the name of the device that received it
    // Points as x, y; rectangles as left, top, right, bottom; a pen's width; a capability's
    // index; a font's height and width.
    std::vector<int> args;
    // The colour of the pen or brush selected or filled with, or the colour set. For line_to
    // and rectangle, the selected pen's colour.
    platform::ColourRef colour = 0;
    std::string text;   // text drawn or measured, a selected font's face, a document's name
    bool null = false;  // null selected: clipping lifted, or no object
    // e.g. "screen line_to 10 20 #0000a0": the call as a test failure shows it.
    std::string describe() const;
};

// One line as drawn: from the current position to the point, in the selected pen.
struct Segment {
    platform::Point from;
    platform::Point to;
    platform::ColourRef colour = 0;
    int width = 0;
    friend bool operator==(const Segment&, const Segment&) = default;
};

struct CallLog {
    std::vector<RecordedCall> calls;
    std::vector<Segment> segments;

    int count(Call call) const;
    std::vector<RecordedCall> of(Call call) const;
    // Every call, one per line, for failure messages.
    std::string describe() const;
    void clear();
};

class RecordingDevice : public platform::PrinterDevice {
  public:
    explicit RecordingDevice(std::string name = "device",
                             std::shared_ptr<CallLog> shared_log = std::make_shared<CallLog>(),
                             platform::Device* forward_to = nullptr);

    const platform::Pen* select_pen(const platform::Pen* pen) override;
    const platform::Brush* select_brush(const platform::Brush* brush) override;
    const platform::Font* select_font(const platform::Font* font) override;
    void set_background_colour(platform::ColourRef colour) override;
    void set_text_colour(platform::ColourRef colour) override;
    void select_clip_region(const platform::Region* region) override;
    void fill_region(const platform::Region& region, const platform::Brush& brush) override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void text_out(int x, int y, std::string_view text) override;
    platform::Extent text_extent(std::string_view text) override;
    platform::TextMetrics text_metrics() override;
    int capability(platform::DeviceCapability which) override;
    // Kept and put back by the device behind, unrecorded; nothing without one.
    platform::SavedPixels save_pixels(const platform::Rect& rect) override;
    void restore_pixels(const platform::SavedPixels& saved) override;
    bool start_document(std::string_view name) override;
    bool start_page() override;
    bool end_page() override;
    bool end_document() override;

    std::string name;
    std::shared_ptr<CallLog> log;
    platform::Device* forward = nullptr;  // not owned

    // Answers when no device stands behind this one.
    platform::TextMetrics metrics{16, 13, 3, 3, 7, 14};
    int logical_dpi = 96;
    int width_pixels = 640;
    int height_pixels = 480;
    int width_millimetres = 0;  // 0: the size that logical_dpi gives
    int height_millimetres = 0;
    // Document steps that report failure.
    bool fail_start_document = false;
    bool fail_start_page = false;
    bool fail_end_page = false;
    bool fail_end_document = false;

    // What the device holds now (copied when selected, as a real device does).
    platform::ColourRef pen_colour = 0;
    int pen_width = 0;
    platform::ColourRef brush_colour = 0xFFFFFF;
    platform::ColourRef background_colour = 0xFFFFFF;
    platform::ColourRef text_colour = 0;
    std::optional<platform::Rect> clip;
    std::optional<platform::LogicalFont> font;  // empty: no font, or the stock fixed font
    platform::Point position;

  private:
    RecordedCall& record(Call call, std::vector<int> args = {});
    const platform::Pen* current_pen_ = nullptr;
    const platform::Brush* current_brush_ = nullptr;
    const platform::Font* current_font_ = nullptr;
};

class RecordingWindow : public platform::Window {
  public:
    explicit RecordingWindow(int width = 640, int height = 480,
                             platform::Window* forward_to = nullptr);

    platform::Rect client_rect() const override { return client; }
    platform::Device* get_device() override;
    void release_device(platform::Device* device) override;
    void invalidate(const platform::Rect& rect) override;

    // Devices handed out and not yet given back.
    int devices_held() const { return static_cast<int>(held_.size()); }

    platform::Rect client;
    std::string device_name = "screen";
    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    platform::Window* forward = nullptr;  // not owned
    int devices_given = 0;
    int foreign_releases = 0;  // release_device of a device this window did not give
    std::vector<platform::Rect> invalidated;

  private:
    std::vector<RecordingDevice*> held_;
};

}  // namespace toven::test_support
