// The sdata title: centred over the formula panel, in the band above it, on screen and on
// paper; an empty title leaves the page exactly as it was.
#include <gtest/gtest.h>

#include "tests/surface/plot_page_fixture.h"

namespace toven {
namespace {

using platform::Rect;
using surface_test::panel_rect;
using surface_test::PlotPage;
using test_support::Call;
using test_support::count_colour;
using test_support::RecordingDevice;

// Pixels of `rect` in which two pictures differ.
int differing_pixels(const platform::Image& a, const platform::Image& b, const Rect& rect) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            count += a.at(x, y) != b.at(x, y) ? 1 : 0;
        }
    }
    return count;
}

// The columns of `rect` holding a pixel of `colour`: first and last, or -1 when none.
std::pair<int, int> columns_of(const platform::Image& image, const Rect& rect,
                               platform::ColourRef colour) {
    std::pair<int, int> span{-1, -1};
    for (int x = rect.left; x < rect.right; ++x) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            if (image.at(x, y) == colour) {
                span.first = span.first < 0 ? x : span.first;
                span.second = x;
                break;
            }
        }
    }
    return span;
}

class PlotTitle : public PlotPage {
  protected:
    platform::Image untitled_page() {
        EXPECT_EQ(plot(), std::nullopt);
        return picture();
    }
    // The band above the formula panel, across the whole page.
    const Rect band = panel_rect(0, 100, formula_panel.top, 100);
    const Rect below_band = panel_rect(0, 100, 0, formula_panel.top);
};

TEST_F(PlotTitle, ATitleIsCentredAboveTheFormulaAndMovesNothingElse) {
    const platform::Image untitled = untitled_page();
    set("title=Waves over the square");
    window.log->clear();
    ASSERT_EQ(plot(), std::nullopt);
    const platform::Image titled = picture();

    EXPECT_EQ(differing_pixels(untitled, titled, below_band), 0);
    EXPECT_GT(count_colour(titled, band, pen_colours[pen_dark_blue]), 50);
    const auto [first, last] = columns_of(titled, band, pen_colours[pen_dark_blue]);
    const Rect formula = panel_rect(formula_panel.left, formula_panel.right, 0, 100);
    const int centre = (formula.left + formula.right) / 2;
    EXPECT_LT(first, centre - 30);
    EXPECT_GT(last, centre + 30);
    EXPECT_LE(std::abs((first + last) / 2 - centre), 4);
    const auto drawn = texts();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "Waves over the square"), drawn.end());
}

TEST_F(PlotTitle, AnEmptyTitleChangesNothing) {
    const platform::Image untitled = untitled_page();
    const auto calls = window.log->calls.size();
    for (const char* title : {"title=", "title=   "}) {
        SCOPED_TRACE(title);
        set(title);
        window.log->clear();
        ASSERT_EQ(plot(), std::nullopt);
        EXPECT_EQ(window.log->calls.size(), calls);
        EXPECT_EQ(differing_pixels(untitled, picture(), panel_rect(0, 100, 0, 100)), 0);
    }
}

// A long title starts at the page's left margin rather than before the page.
TEST_F(PlotTitle, ALongTitleStartsAtTheLeftMargin) {
    set(("title=" + std::string(200, 'W')).c_str());
    ASSERT_EQ(plot(), std::nullopt);
    const auto [first, last] = columns_of(picture(), band, pen_colours[pen_dark_blue]);
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 20);
    EXPECT_EQ(last, band.right - 1);
}

TEST_F(PlotTitle, ThePrintedPageCarriesTheTitle) {
    set("title=On paper");
    platform::PrinterEntrySeam entry("Recorder,winspool,Ne00:");
    boxes.queue_answer(platform::MessageBoxAnswer::yes);
    boxes.queue_answer(platform::MessageBoxAnswer::no);  // in black on white
    auto printed = std::make_shared<test_support::CallLog>();
    plotter.open_printer = [printed](const std::string&) {
        return std::make_unique<RecordingDevice>("printer", printed);
    };
    ASSERT_EQ(plot(printer_output), std::nullopt);
    const auto texts = printed->of(Call::text_out);
    const auto title = std::find_if(texts.begin(), texts.end(),
                                    [](const auto& call) { return call.text == "On paper"; });
    ASSERT_NE(title, texts.end());
    // In the band above the formula panel of a 640 x 480 page, over the panel's middle.
    EXPECT_LT(title->args.at(1), 48);
    EXPECT_GT(title->args.at(0), 160);
    EXPECT_LT(title->args.at(0), 256);
}

}  // namespace
}  // namespace toven
