// The whole work of a plot is bounded: evaluations weighed by the formula's length, lines by
// the pixels they can set. Too much work is refused, on screen with the page around it, and
// a print is refused before it asks anything or starts a job.
#include <gtest/gtest.h>

#include "surface/plot_work.h"
#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using surface_test::PlotPage;

const SurfacePanel default_panel{560, 420, 1, false};

struct WorkCase {
    const char* name;
    int m, n, k;
    std::size_t steps;
    SurfacePanel panel;
    bool allowed;
};

TEST(PlotWork, RefusesWhatWouldKeepTheWindowBusy) {
    const WorkCase cases[] = {
        {"the default page", 40, 20, 20, 10, default_panel, true},
        {"the default page on a large picture", 40, 20, 20, 10, {5600, 5600, 1, false}, true},
        {"a mesh twenty times the default", 100, 100, 35, 10, default_panel, true},
        {"the jumping surface at k 980", 100, 100, 980, 20, default_panel, false},
        {"the same at k 40", 100, 100, 40, 20, default_panel, true},
        {"the longest formula on the default mesh", 40, 20, 20, 99'995, default_panel, false},
        {"the longest formula on a coarse mesh", 1, 1, 100, 99'995, default_panel, true},
        {"a fine mesh on the largest picture", 100, 100, 20, 20, {5600, 5600, 1, false}, false},
        {"the same mesh on a printer's page", 100, 100, 20, 20, {0, 0, 3, true}, true},
        {"a failed formula is no free pass", 3000, 3000, 1, 0, default_panel, false},
    };
    for (const WorkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto refusal =
            plot_work_refusal(Mesh{.n = c.n, .m = c.m, .k = c.k}, c.steps, c.panel);
        EXPECT_EQ(!refusal, c.allowed) << (refusal ? refusal->message : "");
    }
}

TEST(PlotWork, GrowsWithEveryPart) {
    const double base = plot_work(Mesh{.n = 20, .m = 40, .k = 20}, 10, default_panel);
    EXPECT_GT(plot_work(Mesh{.n = 20, .m = 40, .k = 40}, 10, default_panel), base);
    EXPECT_GT(plot_work(Mesh{.n = 20, .m = 40, .k = 20}, 100, default_panel), base);
    EXPECT_GT(plot_work(Mesh{.n = 20, .m = 40, .k = 20}, 10, {560, 840, 1, false}), base);
    EXPECT_GT(plot_work(Mesh{.n = 20, .m = 40, .k = 20}, 10, {560, 420, 3, false}), base);
}

TEST(PlotWork, TheRefusalNamesWhatIsTooLarge) {
    const std::string refusal =
        plot_work_refusal(Mesh{.n = 100, .m = 100, .k = 980}, 20, default_panel).value().message;
    for (const char* part :
         {"19992202 evaluations", "a formula of 20 steps", "420 pixels high", "at most 3 s"}) {
        EXPECT_NE(refusal.find(part), std::string::npos) << part << " in " << refusal;
    }
}

std::string longest_sum() {
    std::string formula = "f(x,y)=x";
    while (formula.size() < 99'990) {
        formula += "+x";
    }
    return formula;
}

TEST_F(PlotPage, TooMuchWorkIsRefusedWithThePageAround) {
    struct Case {
        const char* name;
        std::vector<std::string> items;
    } cases[] = {
        {"jumping surface",
         {"f(x,y)=(2+y+x)*(sin(99999*x*y)/|sin(99999*x*y)|)", "z1=-3", "z2=3", "n=100", "m=100",
          "k=980"}},
        {"longest formula", {longest_sum()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& item : c.items) {
            set(item.c_str());
        }
        boxes.clear_shown();
        const std::string message = plot().value().message;
        EXPECT_NE(message.find("The plot is too large"), std::string::npos) << message;
        EXPECT_TRUE(boxes.shown().empty()) << "the caller decides whether to show it";
        const auto drawn = texts();
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), "rot  =        -"), drawn.end());
        EXPECT_EQ(readout_ready, 0);
        fdata = test_support::default_fdata();
        sdata = test_support::default_sdata();
    }
}

TEST_F(PlotPage, APrintWithTooMuchWorkAsksNothingAndStartsNoJob) {
    set(longest_sum().c_str());
    platform::PrinterEntrySeam entry("Recorder,winspool,Ne00:");
    bool printer_opened = false;
    plotter.open_printer = [&printer_opened](const std::string&) {
        printer_opened = true;
        return std::unique_ptr<platform::PrinterDevice>();
    };
    EXPECT_NE(plot(1).value().message.find("The plot is too large"), std::string::npos);
    EXPECT_TRUE(boxes.shown().empty()) << "neither a printing question nor the refusal";
    EXPECT_FALSE(printer_opened);
    EXPECT_TRUE(window.log->calls.empty());
}

// Weighing a print compiles the formula silently: a formula that does not parse is still
// reported once, after the printing questions, as before.
TEST_F(PlotPage, APrintReportsAFormulaFaultOnceAfterItsQuestions) {
    set("f(x,y)=2x");
    ASSERT_EQ(plot(), std::nullopt);  // sets the window the parse-error box appears over
    boxes.clear_shown();
    platform::PrinterEntrySeam entry("Recorder,winspool,Ne00:");
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    plotter.open_printer = [](const std::string&) {
        return std::make_unique<test_support::RecordingDevice>("printer");
    };
    ASSERT_EQ(plot(1), std::nullopt);
    std::vector<std::string> captions;
    for (const auto& box : boxes.shown()) {
        captions.push_back(box.caption);
    }
    const std::vector<std::string> expected = {"Shall we print to ", "Notice",
                                               "Parse error: therefore f(x,y) = 0", "Note"};
    EXPECT_EQ(captions, expected);
}

}  // namespace
}  // namespace toven
