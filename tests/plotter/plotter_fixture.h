// A Plotter with its output open on a recording window, for tests that read the calls it
// makes. Message boxes go through the test seam, so no test waits on a dialog.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "plotter/plotter.h"
#include "tests/support/recording_device.h"

namespace toven::test_support {

// A printer for Plotter::open_printer that records into `log` and remembers the queue names
// asked for; `forward_to` (optional) receives the drawing too.
struct PrinterStub {
    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    std::vector<std::string> opened;
    platform::Device* forward_to = nullptr;
    bool fail_open = false;
    bool fail_start_document = false;
    bool fail_end_page = false;
    int page_width = 2400;
    int page_height = 3300;

    void attach(Plotter& plotter) {
        plotter.open_printer = [this](const std::string& name) {
            opened.push_back(name);
            std::unique_ptr<platform::PrinterDevice> device;
            if (!fail_open) {
                auto printer = std::make_unique<RecordingDevice>("printer", log, forward_to);
                printer->width_pixels = page_width;
                printer->height_pixels = page_height;
                printer->logical_dpi = 300;
                printer->fail_start_document = fail_start_document;
                printer->fail_end_page = fail_end_page;
                device = std::move(printer);
            }
            return device;
        };
    }
};

class RecordingPlotterTest : public ::testing::Test {
  protected:
    explicit RecordingPlotterTest(int width = 640, int height = 480) : window(width, height) {}

    void open_screen() {
        plotter.begin_output(screen_output);
        window.log->clear();
    }
    // The device the Plotter draws on now.
    RecordingDevice& device() { return *static_cast<RecordingDevice*>(plotter.dc); }
    CallLog& screen_log() { return *window.log; }

    platform::MessageBoxSeam boxes;
    RecordingWindow window;
    Plotter plotter{&window};
};

}  // namespace toven::test_support
