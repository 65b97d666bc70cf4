// The recording device and window of the tests.
#include "tests/support/recording_device.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace toven::test_support {

using platform::ColourRef;
using platform::Rect;

const char* call_name(Call call) {
    switch (call) {
        case Call::select_pen:
            return "select_pen";
        case Call::select_brush:
            return "select_brush";
        case Call::select_font:
            return "select_font";
        case Call::set_background_colour:
            return "set_background_colour";
        case Call::set_text_colour:
            return "set_text_colour";
        case Call::select_clip_region:
            return "select_clip_region";
        case Call::fill_region:
            return "fill_region";
        case Call::move_to:
            return "move_to";
        case Call::line_to:
            return "line_to";
        case Call::rectangle:
            return "rectangle";
        case Call::text_out:
            return "text_out";
        case Call::text_extent:
            return "text_extent";
        case Call::text_metrics:
            return "text_metrics";
        case Call::capability:
            return "capability";
        case Call::start_document:
            return "start_document";
        case Call::start_page:
            return "start_page";
        case Call::end_page:
            return "end_page";
        case Call::end_document:
            return "end_document";
    }
    return "?";
}

std::string RecordedCall::describe() const {
    std::string line = device + " " + call_name(call);
    for (int arg : args) {
        line += ' ';
        line += std::to_string(arg);
    }
    char colour_text[16];
    std::snprintf(colour_text, sizeof colour_text, " #%06x", static_cast<unsigned>(colour));
    line += colour_text;
    if (null) {
        line += " null";
    }
    if (!text.empty()) {
        line += " \"" + text + "\"";
    }
    return line;
}

int CallLog::count(Call call) const {
    return static_cast<int>(std::count_if(
        calls.begin(), calls.end(), [call](const RecordedCall& c) { return c.call == call; }));
}

std::vector<RecordedCall> CallLog::of(Call call) const {
    std::vector<RecordedCall> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [call](const RecordedCall& c) { return c.call == call; });
    return found;
}

std::string CallLog::describe() const {
    std::string text;
    for (const RecordedCall& call : calls) {
        text += call.describe() + "\n";
    }
    return text;
}

void CallLog::clear() {
    calls.clear();
    segments.clear();
}

RecordingDevice::RecordingDevice(std::string device_name, std::shared_ptr<CallLog> shared_log,
                                 platform::Device* forward_to)
    : name(std::move(device_name)), log(std::move(shared_log)), forward(forward_to) {}

RecordedCall& RecordingDevice::record(Call call, std::vector<int> args) {
    RecordedCall& recorded = log->calls.emplace_back();
    recorded.call = call;
    recorded.device = name;
    recorded.args = std::move(args);
    return recorded;
}

const platform::Pen* RecordingDevice::select_pen(const platform::Pen* pen) {
    RecordedCall& call = record(Call::select_pen);
    if (pen != nullptr) {
        pen_colour = pen->colour;
        pen_width = pen->width;
        call.args = {pen->width};
        call.colour = pen->colour;
    } else {
        call.null = true;
    }
    if (forward != nullptr) {
        forward->select_pen(pen);
    }
    return std::exchange(current_pen_, pen);
}

const platform::Brush* RecordingDevice::select_brush(const platform::Brush* brush) {
    RecordedCall& call = record(Call::select_brush);
    if (brush != nullptr) {
        brush_colour = brush->colour;
        call.colour = brush->colour;
    } else {
        call.null = true;
    }
    if (forward != nullptr) {
        forward->select_brush(brush);
    }
    return std::exchange(current_brush_, brush);
}

const platform::Font* RecordingDevice::select_font(const platform::Font* selected) {
    RecordedCall& call = record(Call::select_font);
    if (selected == nullptr || selected == platform::stock_fixed_font()) {
        font.reset();
        call.null = selected == nullptr;
        call.text = selected == nullptr ? "" : "stock fixed font";
    } else {
        font = selected->description;
        call.args = {selected->description.height, selected->description.width};
        call.text = selected->description.face;
    }
    if (forward != nullptr) {
        forward->select_font(selected);
    }
    return std::exchange(current_font_, selected);
}

void RecordingDevice::set_background_colour(ColourRef colour) {
    record(Call::set_background_colour).colour = colour;
    background_colour = colour;
    if (forward != nullptr) {
        forward->set_background_colour(colour);
    }
}

void RecordingDevice::set_text_colour(ColourRef colour) {
    record(Call::set_text_colour).colour = colour;
    text_colour = colour;
    if (forward != nullptr) {
        forward->set_text_colour(colour);
    }
}

void RecordingDevice::select_clip_region(const platform::Region* region) {
    if (region != nullptr) {
        const Rect& r = region->rect;
        record(Call::select_clip_region, {r.left, r.top, r.right, r.bottom});
        clip = r;
    } else {
        record(Call::select_clip_region).null = true;
        clip.reset();
    }
    if (forward != nullptr) {
        forward->select_clip_region(region);
    }
}

void RecordingDevice::fill_region(const platform::Region& region, const platform::Brush& brush) {
    const Rect& r = region.rect;
    record(Call::fill_region, {r.left, r.top, r.right, r.bottom}).colour = brush.colour;
    if (forward != nullptr) {
        forward->fill_region(region, brush);
    }
}

void RecordingDevice::move_to(int x, int y) {
    record(Call::move_to, {x, y});
    position = {x, y};
    if (forward != nullptr) {
        forward->move_to(x, y);
    }
}

void RecordingDevice::line_to(int x, int y) {
    record(Call::line_to, {x, y}).colour = pen_colour;
    log->segments.push_back({position, {x, y}, pen_colour, pen_width});
    position = {x, y};
    if (forward != nullptr) {
        forward->line_to(x, y);
    }
}

platform::SavedPixels RecordingDevice::save_pixels(const Rect& rect) {
    return forward != nullptr ? forward->save_pixels(rect) : platform::SavedPixels{};
}

void RecordingDevice::restore_pixels(const platform::SavedPixels& saved) {
    if (forward != nullptr) {
        forward->restore_pixels(saved);
    }
}

void RecordingDevice::rectangle(int left, int top, int right, int bottom) {
    record(Call::rectangle, {left, top, right, bottom}).colour = pen_colour;
    if (forward != nullptr) {
        forward->rectangle(left, top, right, bottom);
    }
}

void RecordingDevice::text_out(int x, int y, std::string_view text) {
    RecordedCall& call = record(Call::text_out, {x, y});
    call.colour = text_colour;
    call.text = std::string(text);
    if (forward != nullptr) {
        forward->text_out(x, y, text);
    }
}

platform::Extent RecordingDevice::text_extent(std::string_view text) {
    record(Call::text_extent).text = std::string(text);
    if (forward != nullptr) {
        return forward->text_extent(text);
    }
    return {metrics.ave_char_width * static_cast<int>(text.size()), metrics.height};
}

platform::TextMetrics RecordingDevice::text_metrics() {
    record(Call::text_metrics);
    return forward != nullptr ? forward->text_metrics() : metrics;
}

int RecordingDevice::capability(platform::DeviceCapability which) {
    record(Call::capability, {static_cast<int>(which)});
    if (forward != nullptr) {
        return forward->capability(which);
    }
    switch (which) {
        case platform::DeviceCapability::logical_pixels_x:
        case platform::DeviceCapability::logical_pixels_y:
            return logical_dpi;
        case platform::DeviceCapability::width_pixels:
            return width_pixels;
        case platform::DeviceCapability::height_pixels:
            return height_pixels;
        case platform::DeviceCapability::width_millimetres:
            return width_millimetres != 0 ? width_millimetres
                                          : static_cast<int>(width_pixels * 25.4 / logical_dpi);
        case platform::DeviceCapability::height_millimetres:
            return height_millimetres != 0 ? height_millimetres
                                           : static_cast<int>(height_pixels * 25.4 / logical_dpi);
    }
    return 0;
}

bool RecordingDevice::start_document(std::string_view document) {
    record(Call::start_document).text = std::string(document);
    return !fail_start_document;
}

bool RecordingDevice::start_page() {
    record(Call::start_page);
    return !fail_start_page;
}

bool RecordingDevice::end_page() {
    record(Call::end_page);
    return !fail_end_page;
}

bool RecordingDevice::end_document() {
    record(Call::end_document);
    return !fail_end_document;
}

RecordingWindow::RecordingWindow(int width, int height, platform::Window* forward_to)
    : client(forward_to != nullptr ? forward_to->client_rect() : Rect{0, 0, width, height}),
      forward(forward_to) {}

platform::Device* RecordingWindow::get_device() {
    platform::Device* inner = forward != nullptr ? forward->get_device() : nullptr;
    auto* device = new RecordingDevice(device_name, log, inner);
    device->width_pixels = client.width();
    device->height_pixels = client.height();
    held_.push_back(device);
    ++devices_given;
    return device;
}

void RecordingWindow::release_device(platform::Device* device) {
    const auto found = std::find(held_.begin(), held_.end(), device);
    if (found == held_.end()) {
        ++foreign_releases;
        return;
    }
    RecordingDevice* recording = *found;
    held_.erase(found);
    if (forward != nullptr && recording->forward != nullptr) {
        forward->release_device(recording->forward);
    }
    delete recording;
}

void RecordingWindow::invalidate(const Rect& rect) {
    invalidated.push_back(rect);
    if (forward != nullptr) {
        forward->invalidate(rect);
    }
}

}  // namespace toven::test_support
