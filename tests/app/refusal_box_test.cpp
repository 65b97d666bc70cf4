// Graph data that cannot be plotted, as the shell tells it: one box "Cannot plot" over the
// Plotter's window with the refusal's message, after the page around it is drawn; a refused
// print asks nothing and starts no job, and a print that fails is told as "Cannot print".
#include <string>
#include <vector>

#include "platform/picture_files.h"
#include "tests/app/shell_fixture.h"

namespace toven::test_support {
namespace {

using platform::MessageBoxAnswer;

void assign(DataRecord& record, const std::string& value) {
    set_line(record, std::string(record.name) + " = " + value);
}

// A formula of 99,983 characters, which the work bound refuses on the default mesh.
std::string longest_sum() {
    std::string formula = "x";
    while (formula.size() < 99'983) {
        formula += "+x";
    }
    return formula;
}

struct RefusalCase {
    const char* name;
    void (*make)(AppState& state);
    const char* message_part;
};

const RefusalCase refusal_cases[] = {
    {"mesh", [](AppState& state) { assign(state.sdata[8], "0"); },
     "at least 1 (m = 0, n = 20, k = 20)"},
    {"box", [](AppState& state) { assign(state.sdata[2], "-1"); }, "x1 != x2"},
    {"work",
     [](AppState& state) { assign(state.fdata[formula_record(state.fdata)], longest_sum()); },
     "The plot is too large"},
};

class RefusalBox : public ShellTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalBox, AScreenPlotTellsItOverThePlotWindow) {
    GetParam().make(state);
    command(screen);
    platform::inject::click(state.plot_window, {20, 20});
    ASSERT_EQ(boxes.shown().size(), 1u);
    const platform::ShownMessageBox& box = boxes.shown()[0];
    EXPECT_EQ(box.caption, "Cannot plot");
    EXPECT_EQ(box.owner, state.plot_window);
    EXPECT_NE(box.text.find(GetParam().message_part), std::string::npos) << box.text;
    EXPECT_GT(count_not(platform::snapshot(*state.plot_window), white), 1000)
        << "the page is drawn";
    EXPECT_FALSE(state.readout_ready);
}

TEST_P(RefusalBox, APrintTellsItAndAsksNothing) {
    record_prints();
    command(screen);
    use_recording_printer();
    GetParam().make(state);
    command(print);
    ASSERT_EQ(boxes.shown().size(), 1u) << "no printing question";
    const platform::ShownMessageBox& box = boxes.shown()[0];
    EXPECT_EQ(box.caption, "Cannot print");
    EXPECT_EQ(box.owner, main_window) << "a print run draws for the main window";
    EXPECT_NE(box.text.find(GetParam().message_part), std::string::npos) << box.text;
    EXPECT_EQ(printed->count(Call::start_document), 0);
}

INSTANTIATE_TEST_SUITE_P(GraphData, RefusalBox, testing::ValuesIn(refusal_cases),
                         [](const auto& test) { return std::string(test.param.name); });

// A print whose printer cannot be opened draws its page on the screen, as a declined one
// does, and then tells why nothing was printed.
TEST_F(ShellTest, AFailedPrintIsToldOnceItsPageIsOnTheScreen) {
    record_prints("Gone");
    command(screen);
    state.plotter->open_printer = [](const std::string&) {
        return std::unique_ptr<platform::PrinterDevice>();
    };
    boxes.queue_answer(MessageBoxAnswer::yes);
    boxes.queue_answer(MessageBoxAnswer::yes);
    command(print);
    ASSERT_EQ(boxes.shown().size(), 3u);
    const platform::ShownMessageBox& box = boxes.shown()[2];
    EXPECT_EQ(box.caption, "Cannot print");
    EXPECT_EQ(box.text,
              "Printing failed: the printer \"Gone\" could not be opened, so nothing was printed.");
    EXPECT_EQ(box.owner, main_window);
    EXPECT_GT(count_not(platform::snapshot(*main_window), white), 1000) << "the page is drawn";
}

}  // namespace
}  // namespace toven::test_support
