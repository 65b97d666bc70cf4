// The whole work of a plot is measured before it is drawn: a sample of its evaluations is
// timed and its lines weighed on its panel. Only what would take far longer than the bound is
// refused, on screen with the page around it, and a print is refused before it asks anything
// or starts a job. The cases lie ten times or more under or over the bound, since a measured
// bound depends on the machine.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <variant>

#include "surface/plot_limits.h"
#include "surface/plot_work.h"
#include "surface/surface_plan.h"
#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using surface_test::PlotPage;

// f = 0 at the cost of a native loop.
class Flat final : public FunctionXY {
  public:
    double evaluate(double, double) override { return 0; }
};

// Keeps the processor busy for 3 to 4 microseconds at every evaluation (the clock counts
// microseconds): a formula a hundred times slower than the default one, whatever the machine.
class Slow final : public FunctionXY {
  public:
    double evaluate(double, double) override {
        const std::clock_t until = std::clock() + CLOCKS_PER_SEC / 250'000;
        while (std::clock() < until) {
        }
        return 0;
    }
};

// Leaps from far above the panel to far below it between neighbouring samples, so nearly
// every sample draws a line across the whole panel.
class Jumping final : public FunctionXY {
  public:
    double evaluate(double x, double y) override {
        return std::sin(99999 * x * y) < 0 ? -1e9 : 1e9;
    }
};

const Box test_box = {-1, 1, -1, 1, -3, 3};

SurfacePlan plan_of(const Mesh& mesh) {
    return std::get<SurfacePlan>(plan_surface({test_box, mesh, 15}));
}
const SurfacePanel screen_panel{560, 420, 1, false};

struct WorkCase {
    const char* name;
    FunctionXY& function;
    Mesh mesh;
    SurfacePanel panel;
    bool allowed;
};

TEST(PlotWork, RefusesOnlyWhatIsFarOverTheBound) {
    Flat flat;
    Slow slow;
    Jumping jumping;
    const WorkCase cases[] = {
        {"a flat surface, twice the mesh once refused", flat, {200, 400, 10}, screen_panel, true},
        {"a slow formula on the default mesh", slow, {20, 40, 20}, screen_panel, true},
        {"a slow formula on twenty million samples", slow, {100, 100, 980}, screen_panel, false},
        {"a jumping surface on a coarse mesh", jumping, {100, 100, 4}, screen_panel, true},
        {"the same on a fine mesh and a large picture",
         jumping,
         {100, 100, 980},
         {1600, 1200, 1, false},
         false},
        {"the coarse one on a printer's page", jumping, {100, 100, 4}, {4800, 4800, 3, true}, true},
        {"the fine one on a printer's page",
         jumping,
         {100, 100, 980},
         {4800, 4800, 3, true},
         false},
    };
    for (const WorkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SurfacePlan plan = plan_of(c.mesh);
        const WorkSample sample = sample_plot_work(c.function, plan);
        const auto refusal = plot_work_refusal(sample, plan, c.panel);
        EXPECT_EQ(!refusal, c.allowed) << (refusal ? refusal->message : "");
    }
}

// The evaluations alone decide on every page: the message is the same whatever the panel, and
// it names the measured rate rather than a panel.
TEST(PlotWork, TheRefusalNamesTheMeasuredRate) {
    Slow slow;
    Jumping jumping;
    const Mesh fine{100, 100, 980};
    const SurfacePlan fine_plan = plan_of(fine);
    const WorkSample slow_sample = sample_plot_work(slow, fine_plan);
    const std::string evaluations = evaluation_refusal(slow_sample).value().message;
    for (const char* part :
         {"19796202 evaluations of f(x,y), at ", "a second as measured here", "at most 3 s"}) {
        EXPECT_NE(evaluations.find(part), std::string::npos) << part << " in " << evaluations;
    }
    EXPECT_EQ(evaluations.find("pixels"), std::string::npos) << evaluations;
    EXPECT_EQ(
        plot_work_refusal(slow_sample, fine_plan, {0, 0, 3, true}).value().message.substr(0, 60),
        evaluations.substr(0, 60));

    // The rate is set far above any machine's, so that only the lines can tip the page over,
    // on a busy machine and under the sanitizers alike.
    WorkSample jumping_sample = sample_plot_work(jumping, fine_plan);
    jumping_sample.seconds_per_evaluation = 1e-9;
    EXPECT_EQ(evaluation_refusal(jumping_sample), std::nullopt);
    const std::string on_screen =
        plot_work_refusal(jumping_sample, fine_plan, {1600, 1200, 1, false}).value().message;
    EXPECT_NE(on_screen.find("in a panel of 1600 x 1200 pixels"), std::string::npos) << on_screen;
    const std::string on_paper =
        plot_work_refusal(jumping_sample, fine_plan, {4800, 4800, 3, true}).value().message;
    EXPECT_NE(on_paper.find("on a printed page"), std::string::npos) << on_paper;
}

// The evaluations are shared by the threads that really run at once, the drawing is not: a
// plot some 5 s long on one thread fits on two, one of 12 s does not.
TEST(PlotWork, TheEvaluationsAreSharedByTheThreads) {
    const Mesh mesh{100, 100, 980};  // some 20 million evaluations
    const struct {
        double seconds_per_evaluation;
        int threads;
        bool allowed;
    } cases[] = {{250e-9, 1, false}, {250e-9, 2, true}, {600e-9, 2, false}, {10e-9, 1, true}};
    for (const auto& c : cases) {
        const WorkSample sample{c.seconds_per_evaluation, {}, c.threads, evaluation_count(mesh)};
        const auto refusal = evaluation_refusal(sample);
        EXPECT_EQ(!refusal, c.allowed) << c.seconds_per_evaluation << " " << c.threads;
        if (refusal && c.threads > 1) {
            EXPECT_NE(refusal->message.find("on each of 2 threads"), std::string::npos);
        }
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
         {"f(x,y)=1e9*(2+y+x)*(sin(99999*x*y)/|sin(99999*x*y)|)", "z1=-3", "z2=3", "n=100", "m=100",
          "k=980"}},
        {"longest formula", {longest_sum(), "n=100", "m=100"}},
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
        EXPECT_FALSE(readout_ready);
        fdata = test_support::default_fdata();
        sdata = test_support::default_sdata();
    }
}

TEST_F(PlotPage, APrintWithTooMuchWorkAsksNothingAndStartsNoJob) {
    set(longest_sum().c_str());
    set("n=100");
    set("m=100");
    platform::PrinterEntrySeam entry("Recorder,winspool,Ne00:");
    bool printer_opened = false;
    plotter.open_printer = [&printer_opened](const std::string&) {
        printer_opened = true;
        return std::unique_ptr<platform::PrinterDevice>();
    };
    EXPECT_NE(plot(printer_output).value().message.find("The plot is too large"),
              std::string::npos);
    EXPECT_TRUE(boxes.shown().empty()) << "neither a printing question nor the refusal";
    EXPECT_FALSE(printer_opened);
    EXPECT_TRUE(window.log->calls.empty());
}

// A page the screen draws at once prints too: the print is weighed on the printer's page,
// which keeps lines, once it is known.
TEST_F(PlotPage, APrintIsWeighedOnThePrintersPage) {
    set("m=200");
    set("n=100");
    platform::PrinterEntrySeam entry("Recorder,winspool,Ne00:");
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    plotter.open_printer = [](const std::string&) {
        return std::make_unique<test_support::RecordingDevice>("printer");
    };
    EXPECT_EQ(plot(printer_output), std::nullopt);
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
    ASSERT_EQ(plot(printer_output), std::nullopt);
    std::vector<std::string> captions;
    for (const auto& box : boxes.shown()) {
        captions.push_back(box.caption);
    }
    const std::vector<std::string> expected = {"Shall we print to ", "Notice", parse_error_caption,
                                               "Note"};
    EXPECT_EQ(captions, expected);
}

}  // namespace
}  // namespace toven
