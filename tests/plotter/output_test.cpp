// Opening and closing output on a recording window and a recording printer: the two
// questions, the colours of a print, the state it leaves and what is given back.
#include <string>

#include "platform/printing.h"
#include "tests/plotter/plotter_fixture.h"
#include "tests/support/colours.h"

namespace toven::test_support {
namespace {

using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using Answer = MessageBoxAnswer;

struct Box {
    std::string text;
    std::string caption;
    friend bool operator==(const Box&, const Box&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Box& box) {
        return out << '"' << box.text << "\" / \"" << box.caption << '"';
    }
};

const char* const no_printer = "No default printer is set up, so nothing was printed.";
const Box finished{"Printing is Finished", "Note"};
const Box colour_question{"Colour ?", "Notice"};

Box shall_we_print_to(const std::string& name) {
    return {name, "Shall we print to "};
}

std::vector<Box> shown_boxes(const platform::MessageBoxSeam& seam) {
    std::vector<Box> boxes;
    for (const auto& box : seam.shown()) {
        boxes.push_back({box.text, box.caption});
    }
    return boxes;
}

class OutputTest : public RecordingPlotterTest {
  protected:
    OutputTest() { printer.attach(plotter); }

    void answer(std::initializer_list<Answer> answers) {
        for (Answer a : answers) {
            boxes.queue_answer(a);
        }
    }
    // One small picture in whatever colours the caller asks for.
    void draw_page() {
        plotter.set_colours(brush_pale_orange, pen_dark_cyan, pen_dark_yellow, pen_blue);
        plotter.set_viewport(10, 90, 10, 90, clip_on);
        plotter.frame_viewport(brush_pale_orange);
        plotter.set_world_window(0, 1, 0, 1);
        plotter.select_pen(pen_green);
        plotter.move_to(0, 0);
        plotter.line_to(1, 1);
        plotter.set_text_colour(pen_cyan);
        plotter.put_text("text");
        PanelLayout layout{50, 90, 50, 90, 7, 11, 13, 14, 1, 1};
        plotter.open_panel(layout, panel_framed);
        plotter.draw_grid(10, 10, 400);
    }

    PrinterStub printer;
};

struct DialogueCase {
    const char* name;
    const char* entry;
    std::vector<Answer> answers;
    std::vector<Box> boxes;  // shown by begin_output
    const char* refusal;     // returned by begin_output, "" for none
    const char* queue;       // the printer opened, "" for none
    OutputDevice printing;
    ColourMode colour;
};

void PrintTo(const DialogueCase& row, std::ostream* out) {
    *out << row.name;
}

const DialogueCase dialogue_cases[] = {
    {"profile_with_commas_colour",
     "Office Laser,winspool,Ne00:",
     {Answer::yes, Answer::yes},
     {shall_we_print_to("Office Laser"), colour_question},
     "",
     "Office Laser",
     printer_output,
     in_colour},
    {"profile_without_comma_monochrome",
     "PDF",
     {Answer::yes, Answer::no},
     {shall_we_print_to("PDF"), colour_question},
     "",
     "PDF",
     printer_output,
     monochrome},
    {"first_prompt_declined",
     "PDF,cups,",
     {Answer::no},
     {shall_we_print_to("PDF")},
     "",
     "",
     screen_output,
     in_colour},
    {"empty_profile", "", {}, {}, no_printer, "", screen_output, in_colour},
    {"profile_without_a_name", ",driver,port", {}, {}, no_printer, "", screen_output, in_colour},
};

class DialogueTest : public OutputTest, public ::testing::WithParamInterface<DialogueCase> {};

TEST_P(DialogueTest, AsksAndOpensTheNamedPrinter) {
    const DialogueCase& c = GetParam();
    platform::PrinterEntrySeam entry(c.entry);
    for (Answer a : c.answers) {
        boxes.queue_answer(a);
    }

    const auto refusal = plotter.begin_output(printer_output);

    EXPECT_EQ(shown_boxes(boxes), c.boxes);
    EXPECT_EQ(refusal.value_or(platform::Refusal{""}).message, c.refusal);
    for (const auto& box : boxes.shown()) {
        EXPECT_EQ(box.owner, &window);
    }
    EXPECT_EQ(plotter.printing, c.printing);
    EXPECT_EQ(plotter.colour, c.colour);
    if (*c.queue != '\0') {
        EXPECT_EQ(printer.opened, std::vector<std::string>{c.queue});
        EXPECT_EQ(plotter.dc, plotter.printer_dc.get());
        EXPECT_EQ(plotter.device_width, printer.page_width);
        EXPECT_EQ(plotter.device_height, printer.page_height);
    } else {
        EXPECT_TRUE(printer.opened.empty());
        EXPECT_EQ(plotter.printer_dc, nullptr);
        EXPECT_EQ(static_cast<RecordingDevice*>(plotter.dc)->name, "screen");
        EXPECT_EQ(plotter.device_width, 640);
    }
    // The window is cleared to white before any question is asked.
    const auto fills = screen_log().of(Call::fill_region);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].args, (std::vector<int>{0, 0, 640, 480}));
    EXPECT_EQ(fills[0].colour, white);

    boxes.clear_shown();
    draw_page();
    plotter.end_output();
    const std::vector<Box> closing =
        *c.queue != '\0' ? std::vector<Box>{finished} : std::vector<Box>{};
    EXPECT_EQ(shown_boxes(boxes), closing);
    EXPECT_EQ(printer.log->count(Call::end_document), *c.queue != '\0' ? 1 : 0);
    if (*c.queue == '\0') {
        EXPECT_GT(screen_log().count(Call::text_out), 0) << "the page goes to the screen";
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, DialogueTest, ::testing::ValuesIn(dialogue_cases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(OutputTest, MonochromePrintIsBlackOnWhite) {
    platform::PrinterEntrySeam entry("PDF,cups-pdf,");
    answer({Answer::yes, Answer::no});
    plotter.begin_output(printer_output);
    draw_page();
    plotter.end_output();

    const CallLog& page = *printer.log;
    ASSERT_GT(page.count(Call::line_to), 0);
    ASSERT_GT(page.count(Call::text_out), 0);
    for (const RecordedCall& call : page.calls) {
        switch (call.call) {
            case Call::select_pen:
            case Call::line_to:
            case Call::rectangle:
            case Call::text_out:
            case Call::set_text_colour:
                EXPECT_EQ(call.colour, black) << call.describe();
                break;
            case Call::select_brush:
            case Call::fill_region:
            case Call::set_background_colour:
                EXPECT_EQ(call.colour, white) << call.describe();
                break;
            default:
                break;
        }
    }
}

TEST_F(OutputTest, ColourPrintUsesTheScreenColours) {
    platform::PrinterEntrySeam entry("PDF");
    answer({Answer::yes, Answer::yes});
    plotter.begin_output(printer_output);
    draw_page();
    plotter.end_output();

    const CallLog& page = *printer.log;
    EXPECT_EQ(page.of(Call::line_to).at(0).colour, pen_colours[pen_green]);
    EXPECT_EQ(page.of(Call::text_out).at(0).colour, pen_colours[pen_cyan]);
    EXPECT_EQ(page.of(Call::fill_region).at(0).colour, background_colours[brush_pale_orange]);
    EXPECT_EQ(page.count(Call::start_document), 1);
    EXPECT_EQ(page.count(Call::start_page), 1);
    EXPECT_EQ(page.count(Call::end_page), 1);
    EXPECT_EQ(page.of(Call::start_document).at(0).text, "");
}

TEST_F(OutputTest, PrintUsesWidePensAndThePrinterFont) {
    platform::PrinterEntrySeam entry("PDF");
    answer({Answer::yes, Answer::yes});
    plotter.set_pen_width(3);
    plotter.begin_output(printer_output);
    EXPECT_EQ(plotter.font->description.height, -58);  // 140 tenths at 300 dpi
    plotter.select_pen(pen_dark_magenta);
    EXPECT_EQ(static_cast<RecordingDevice*>(plotter.dc)->pen_width, 3);
    plotter.end_output();
    EXPECT_EQ(plotter.pen_width, 1);
}

TEST_F(OutputTest, StateAfterAPrintIsTheScreens) {
    plotter.begin_output(screen_output);
    plotter.select_pen(pen_grey);
    plotter.end_output();
    platform::PrinterEntrySeam entry("PDF");
    answer({Answer::yes, Answer::no});

    plotter.begin_output(printer_output);
    draw_page();
    plotter.end_output();

    EXPECT_EQ(plotter.colour, in_colour);
    EXPECT_EQ(plotter.printing, screen_output);
    EXPECT_EQ(plotter.dc, nullptr);
    EXPECT_EQ(plotter.screen_dc, nullptr);
    EXPECT_EQ(plotter.printer_dc, nullptr);
    EXPECT_EQ(plotter.font, nullptr);
    EXPECT_EQ(plotter.device_width, 640);
    EXPECT_EQ(plotter.device_height, 480);
    EXPECT_EQ(plotter.brush_number, 5);
    EXPECT_EQ(plotter.frame_pen, 2);
    EXPECT_EQ(plotter.text_colour, 1);
    EXPECT_EQ(plotter.pen_number, 7);
    EXPECT_EQ(window.devices_held(), 0);
    // The stock fixed font replaced the print's fonts on the screen device.
    const auto fonts = screen_log().of(Call::select_font);
    EXPECT_EQ(fonts.back().text, "stock fixed font");
}

TEST_F(OutputTest, PrinterThatCannotBeOpenedIsReported) {
    platform::PrinterEntrySeam entry("Gone,winspool,LPT1:");
    printer.fail_open = true;
    answer({Answer::yes, Answer::yes});
    const auto refusal = plotter.begin_output(printer_output);
    EXPECT_EQ(plotter.printing, screen_output);
    EXPECT_EQ(plotter.colour, in_colour);
    draw_page();
    EXPECT_EQ(plotter.end_output(), std::nullopt);

    EXPECT_EQ(shown_boxes(boxes).size(), 2u) << "the two questions alone";
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message,
              "Printing failed: the printer \"Gone\" could not be opened, so nothing was printed.");
    EXPECT_GT(screen_log().count(Call::line_to), 0);
}

TEST_F(OutputTest, RefusedDocumentIsReported) {
    platform::PrinterEntrySeam entry("PDF");
    printer.fail_start_document = true;
    answer({Answer::yes, Answer::no});
    const auto refusal = plotter.begin_output(printer_output);
    EXPECT_EQ(plotter.printing, screen_output);
    EXPECT_EQ(plotter.colour, in_colour);
    EXPECT_EQ(device().name, "screen");
    plotter.end_output();
    EXPECT_EQ(shown_boxes(boxes).size(), 2u) << "the two questions alone";
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message,
              "Printing failed: the printer \"PDF\" did not accept the document, so nothing was "
              "printed.");
}

TEST_F(OutputTest, FailedPageIsNotCalledFinished) {
    platform::PrinterEntrySeam entry("PDF");
    printer.fail_end_page = true;
    answer({Answer::yes, Answer::yes});
    plotter.begin_output(printer_output);
    draw_page();
    boxes.clear_shown();
    const auto refusal = plotter.end_output();
    EXPECT_TRUE(boxes.shown().empty()) << "no \"Printing is Finished\"";
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message,
              "Printing failed: the page could not be finished on the printer \"PDF\".");
    EXPECT_EQ(printer.log->count(Call::end_document), 1);
}

TEST_F(OutputTest, ClosingAClosedOutputDoesNothing) {
    platform::PrinterEntrySeam entry("PDF");
    answer({Answer::yes, Answer::yes});
    plotter.begin_output(printer_output);
    plotter.end_output();
    const platform::ObjectCounts closed = platform::live_objects();
    const auto boxes_shown = boxes.shown().size();
    const auto calls = screen_log().calls.size() + printer.log->calls.size();

    plotter.end_output();
    plotter.end_output();

    EXPECT_EQ(platform::live_objects(), closed);
    EXPECT_EQ(boxes.shown().size(), boxes_shown);
    EXPECT_EQ(screen_log().calls.size() + printer.log->calls.size(), calls);
    EXPECT_EQ(window.foreign_releases, 0);
}

TEST_F(OutputTest, PrintStillOpenIsFinishedBeforeTheNextOutput) {
    platform::PrinterEntrySeam entry("PDF");
    answer({Answer::yes, Answer::yes});
    plotter.begin_output(printer_output);
    draw_page();
    boxes.clear_shown();
    plotter.begin_output(screen_output);
    EXPECT_EQ(shown_boxes(boxes), std::vector<Box>{finished});
    EXPECT_EQ(printer.log->count(Call::end_document), 1);
    EXPECT_EQ(plotter.printing, screen_output);
    EXPECT_EQ(window.devices_held(), 1);
    EXPECT_EQ(plotter.device_width, 640);
    plotter.end_output();
    EXPECT_EQ(shown_boxes(boxes), std::vector<Box>{finished});
}

TEST_F(OutputTest, NextScreenOutputMakesEverythingAnew) {
    plotter.begin_output(screen_output);
    plotter.end_output();
    plotter.begin_output(screen_output);
    EXPECT_EQ(window.devices_given, 2);
    EXPECT_EQ(window.devices_held(), 1);
    for (const auto& pen : plotter.pens) {
        EXPECT_NE(pen, nullptr);
    }
    EXPECT_NE(plotter.font, nullptr);
    plotter.end_output();
}

TEST_F(OutputTest, OpenScreenOutputIsReplaced) {
    const platform::ObjectCounts before = platform::live_objects();
    plotter.begin_output(screen_output);
    const platform::ObjectCounts open = platform::live_objects();
    plotter.set_viewport(0, 50, 0, 50, clip_on);
    plotter.begin_output(screen_output);
    EXPECT_EQ(window.devices_held(), 1);
    EXPECT_EQ(platform::live_objects(), open);
    plotter.end_output();
    EXPECT_EQ(platform::live_objects(), before);
}

TEST_F(OutputTest, DeviceGoesBackToTheWindowItCameFrom) {
    RecordingWindow second(300, 200);
    plotter.begin_output(screen_output);
    plotter.window = &second;
    plotter.begin_output(screen_output);
    EXPECT_EQ(window.devices_held(), 0);
    EXPECT_EQ(second.devices_held(), 1);
    EXPECT_EQ(plotter.device_width, 300);

    plotter.window = &window;
    plotter.end_output();
    EXPECT_EQ(second.devices_held(), 0);
    EXPECT_EQ(window.foreign_releases + second.foreign_releases, 0);
}

TEST_F(OutputTest, ManyCyclesLeaveNothingBehind) {
    platform::PrinterEntrySeam entry("PDF,winspool,");
    const platform::ObjectCounts before = platform::live_objects();
    for (int i = 0; i < 20; ++i) {
        plotter.begin_output(screen_output);
        draw_page();
        plotter.begin_output(screen_output);  // a new plot replaces the open output
        draw_page();
        plotter.set_pen_width(3);
        answer({Answer::yes, i % 2 == 0 ? Answer::yes : Answer::no});
        plotter.begin_output(printer_output);
        draw_page();
        plotter.end_output();
        answer({Answer::no});
        plotter.begin_output(printer_output);
        plotter.end_output();
    }
    EXPECT_EQ(platform::live_objects(), before);
    EXPECT_EQ(window.devices_held(), 0);
}

TEST(PlotterLifetimeTest, DestroyingAPlotterClosesItsOutputSilently) {
    platform::MessageBoxSeam boxes;
    platform::PrinterEntrySeam entry("PDF");
    RecordingWindow window;
    PrinterStub printer;
    const platform::ObjectCounts before = platform::live_objects();
    {
        Plotter plotter(&window);
        printer.attach(plotter);
        boxes.queue_answer(Answer::yes);
        boxes.queue_answer(Answer::yes);
        plotter.begin_output(printer_output);
        plotter.set_viewport(0, 100, 0, 100, clip_on);
        boxes.clear_shown();
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(printer.log->count(Call::end_document), 1);
    EXPECT_EQ(window.devices_held(), 0);
    EXPECT_EQ(platform::live_objects(), before);
}

}  // namespace
}  // namespace toven::test_support
