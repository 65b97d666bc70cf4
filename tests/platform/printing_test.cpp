// The default printer's entry, its seam, and a real print through the system's default
// queue (a cups-pdf queue of the tests' own scheduler), whose PDF is then read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/drawing_objects.h"
#include "platform/printing.h"
#include "tests/support/printed_pdf.h"

namespace toven::platform {
namespace {

namespace fs = std::filesystem;

std::string printer_name(const std::string& entry) {
    return entry.substr(0, entry.find(','));
}

TEST(PrinterEntry, SeamAnswersWhileItLives) {
    const std::string system = default_printer_entry();
    {
        PrinterEntrySeam seam("Office,winspool,LPT1:");
        EXPECT_EQ(default_printer_entry(), "Office,winspool,LPT1:");
    }
    {
        PrinterEntrySeam outer("");
        EXPECT_EQ(default_printer_entry(), "");
        {
            PrinterEntrySeam inner("Laser");
            EXPECT_EQ(default_printer_entry(), "Laser");
        }
        EXPECT_EQ(default_printer_entry(), "");
    }
    EXPECT_EQ(default_printer_entry(), system);
}

TEST(PrinterEntry, SystemEntryHasThreeFieldsOrIsEmpty) {
    const std::string entry = default_printer_entry();
    if (entry.empty()) {
        GTEST_SKIP() << "this machine has no default print queue";
    }
    EXPECT_FALSE(printer_name(entry).empty());
    EXPECT_EQ(std::count(entry.begin(), entry.end(), ','), 2) << entry;
}

// A queue that the person names (PRINTER) but that does not exist is the entry's printer,
// so that the dialogue names it, not a missing default.
TEST(PrinterEntry, NamedMissingQueueIsTheEntry) {
    const char* old = std::getenv("PRINTER");
    const std::string kept = old != nullptr ? old : "";
    ::setenv("PRINTER", "nosuchqueue", 1);
    const std::string entry = default_printer_entry();
    if (old != nullptr) {
        ::setenv("PRINTER", kept.c_str(), 1);
    } else {
        ::unsetenv("PRINTER");
    }
    EXPECT_EQ(printer_name(entry), "nosuchqueue") << entry;
}

TEST(PrinterDevice, UnknownQueueCannotBeOpened) {
    EXPECT_EQ(create_printer_device("no-such-queue-for-toven"), nullptr);
    EXPECT_EQ(create_printer_device(""), nullptr);
}

TEST(PrinterDevice, PrintsOnePageToTheDefaultQueue) {
    const std::string entry = default_printer_entry();
    if (entry.empty()) {
        if (std::getenv("CI") != nullptr) {
            FAIL() << "CI must have a default print queue: the tests' scheduler "
                      "(tests/support/cupsd) needs root";
        }
        GTEST_SKIP() << "no default print queue: the tests' scheduler (tests/support/cupsd) "
                        "sets one up as root, and this test then prints to it";
    }
    // cups-pdf names its file after the job's title, blanks made underscores.
    const std::string title = "toven platform test " + std::to_string(::getpid());
    const std::string file_prefix = "toven_platform_test_" + std::to_string(::getpid());
    const ObjectCounts start = live_objects();
    {
        auto printer = create_printer_device(printer_name(entry));
        ASSERT_NE(printer, nullptr) << entry;
        const int width = printer->capability(DeviceCapability::width_pixels);
        const int height = printer->capability(DeviceCapability::height_pixels);
        const int dpi = printer->capability(DeviceCapability::logical_pixels_x);
        EXPECT_GT(width, 1000);
        EXPECT_GT(height, 1000);
        EXPECT_GE(dpi, 72);
        EXPECT_NEAR(printer->capability(DeviceCapability::width_millimetres), width * 25.4 / dpi,
                    2);

        ASSERT_TRUE(printer->start_document(title));
        ASSERT_TRUE(printer->start_page());
        Pen* pen = create_pen(3, rgb(0, 0, 0));
        Brush* brush = create_solid_brush(rgb(255, 255, 255));
        Font* font = create_font({-117, 0, 0, false, false, false, "Times New Roman"});
        printer->select_pen(pen);
        printer->select_brush(brush);
        printer->select_font(font);
        printer->rectangle(width / 10, height / 10, width * 9 / 10, height * 9 / 10);
        printer->move_to(width / 10, height / 10);
        printer->line_to(width * 9 / 10, height * 9 / 10);
        printer->text_out(width / 5, height / 5, "toven printing test");
        EXPECT_TRUE(printer->end_page());
        EXPECT_TRUE(printer->end_document());
        delete_object(pen);
        delete_object(brush);
        delete_object(font);
    }
    EXPECT_EQ(live_objects(), start);

    const std::optional<fs::path> pdf = test_support::wait_for_pdf(
        [&](const fs::path& file) { return file.filename().string().rfind(file_prefix, 0) == 0; });
    ASSERT_TRUE(pdf) << "no PDF from the queue in " << test_support::pdf_directory();
    EXPECT_EQ(test_support::pdf_info(pdf->string(), "Pages"), "1");
    // The frame, the diagonal and the text: some hundreds of dark pixels at 50 dpi, where a
    // blank page has none. (cups-pdf re-encodes the fonts, so the text cannot be read back.)
    EXPECT_GT(test_support::dark_pixels(pdf->string(), 50), 300);
    fs::remove(*pdf);
}

TEST(PrinterDevice, DocumentMustStartBeforeItsPage) {
    const std::string entry = default_printer_entry();
    if (entry.empty()) {
        GTEST_SKIP() << "this machine has no default print queue";
    }
    auto printer = create_printer_device(printer_name(entry));
    ASSERT_NE(printer, nullptr);
    EXPECT_FALSE(printer->start_page());
    EXPECT_FALSE(printer->end_document());
}

// A queue that refuses jobs (cupsreject) takes the document from the device without
// complaint; only the scheduler's answer tells that nothing will be printed.
TEST(PrinterDevice, RefusingQueueEndsTheDocumentWithItsReason) {
    auto printer = create_printer_device("toven-rejecting");
    if (!printer) {
        if (std::getenv("CI") != nullptr) {
            FAIL() << "CI must have the refusing queue toven-rejecting: tests/support/cupsd makes "
                      "it as root";
        }
        GTEST_SKIP() << "no queue toven-rejecting: tests/support/cupsd sets it up as root";
    }
    ASSERT_TRUE(printer->start_document("toven refused"));
    ASSERT_TRUE(printer->start_page());
    printer->move_to(0, 0);
    printer->line_to(500, 500);
    EXPECT_TRUE(printer->end_page());
    EXPECT_FALSE(printer->end_document());
    EXPECT_EQ(printer->failure(), "Destination \"toven-rejecting\" is not accepting jobs.");
}

}  // namespace
}  // namespace toven::platform
