// One real page through the default print queue, as the Print command makes it. Without a
// queue the test says so and skips; under CI (where the tests' own scheduler has one) it fails.
#include <cstdlib>

#include "platform/printing.h"
#include "tests/plotter/plotter_fixture.h"
#include "tests/support/printed_pdf.h"

namespace toven::test_support {
namespace {

using Answer = platform::MessageBoxAnswer;

TEST(RealPrintTest, PageGoesToTheDefaultQueue) {
    if (platform::default_printer_entry().empty()) {
        if (std::getenv("CI") != nullptr) {
            FAIL() << "CI must print for real, but this machine has no default print queue "
                      "(tests/support/cupsd sets one up as root)";
        }
        GTEST_SKIP() << "No default print queue here, so the Plotter's real print is not "
                        "tested; tests/support/cupsd sets one up as root";
    }
    platform::MessageBoxSeam boxes;
    boxes.queue_answer(Answer::yes);
    boxes.queue_answer(Answer::yes);
    const auto pdfs_before = pdfs_now();
    const std::unique_ptr<platform::Window> window = platform::create_offscreen_window(320, 240);
    const platform::ObjectCounts before = platform::live_objects();
    {
        Plotter plotter(window.get());
        plotter.set_pen_width(3);
        plotter.begin_output(printer_output);
        ASSERT_EQ(plotter.printing, printer_output) << "the default queue could not be opened";
        plotter.set_viewport(10, 90, 10, 90, clip_on);
        plotter.frame_viewport(brush_white);
        plotter.set_world_window(0, 1, 0, 1);
        plotter.select_pen(pen_dark_blue);
        plotter.draw_rect(0.1, 0.9, 0.1, 0.9);
        plotter.print_line("toven real print");
        plotter.end_output();
    }
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown().back().text, "Printing is Finished");
    EXPECT_EQ(platform::live_objects(), before);

    // The queue's PDF: one page with the frame, the rectangle and the line of text on it.
    // The platform's print test, which may run at the same time, names its own file.
    const auto pdf = wait_for_pdf([&](const std::filesystem::path& file) {
        return !pdfs_before.contains(file) &&
               file.filename().string().rfind("toven_platform_test", 0) != 0;
    });
    ASSERT_TRUE(pdf) << "no new PDF from the queue in " << pdf_directory();
    EXPECT_EQ(pdf_info(pdf->string(), "Pages"), "1");
    EXPECT_GT(dark_pixels(pdf->string(), 50), 100);
    std::filesystem::remove(*pdf);
}

// A default queue that refuses every job (cupsreject; tests/support/cupsd makes one): the
// Print command's Yes, Yes must not end in "Printing is Finished" but say why nothing came.
// The entry seam makes it the default for this test alone.
TEST(RealPrintTest, RefusingQueueIsReportedAsAFailure) {
    constexpr const char* refusing_queue = "toven-rejecting";
    if (!platform::create_printer_device(refusing_queue)) {
        if (std::getenv("CI") != nullptr) {
            FAIL() << "CI must have the refusing queue " << refusing_queue
                   << " (tests/support/cupsd sets it up as root)";
        }
        GTEST_SKIP() << "No queue " << refusing_queue
                     << " here; tests/support/cupsd sets it up as root";
    }
    platform::PrinterEntrySeam entry(std::string(refusing_queue) + ",CUPS-PDF,");
    platform::MessageBoxSeam boxes;
    boxes.queue_answer(Answer::yes);
    boxes.queue_answer(Answer::yes);
    const std::unique_ptr<platform::Window> window = platform::create_offscreen_window(320, 240);
    const platform::ObjectCounts before = platform::live_objects();
    std::optional<platform::Refusal> refusal;
    {
        Plotter plotter(window.get());
        plotter.begin_output(printer_output);
        plotter.set_viewport(10, 90, 10, 90, clip_on);
        plotter.print_line("toven refused print");
        refusal = plotter.end_output();
        EXPECT_EQ(plotter.printing, screen_output);
    }
    EXPECT_NE(boxes.shown().back().text, "Printing is Finished");
    ASSERT_TRUE(refusal);
    const std::string note = refusal->message;
    EXPECT_EQ(note.rfind("Printing failed: ", 0), 0u) << note;
    EXPECT_NE(note.find(refusing_queue), std::string::npos) << note;
    EXPECT_NE(note.find("not accepting jobs"), std::string::npos) << note;
    EXPECT_EQ(platform::live_objects(), before);
}

}  // namespace
}  // namespace toven::test_support
