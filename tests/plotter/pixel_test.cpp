// Pictures the Plotter draws into offscreen windows: viewports, fills and clipping, frames,
// grids, text cells, and printed pages (a printer that draws into an offscreen window).
#include <algorithm>
#include <set>

#include "platform/picture_files.h"
#include "tests/plotter/plotter_fixture.h"
#include "tests/support/colours.h"

namespace toven::test_support {
namespace {

using platform::ColourRef;
using Answer = platform::MessageBoxAnswer;

class PixelTest : public ::testing::Test {
  protected:
    void open(int width, int height) {
        plotter.reset();
        window = platform::create_offscreen_window(width, height);
        plotter = std::make_unique<Plotter>(window.get());
        plotter->begin_output(screen_output);
    }
    platform::Image close_and_shoot() {
        plotter->end_output();
        return platform::snapshot(*window);
    }

    platform::MessageBoxSeam boxes;
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<Plotter> plotter;
};

TEST_F(PixelTest, ViewportOnAnOddSizeCoversItsTruncatedEdges) {
    open(801, 601);
    plotter->set_viewport(5, 75, 5, 75, clip_on);
    plotter->fill_viewport(brush_pale_orange);
    const platform::Image image = close_and_shoot();

    const ColourRef fill = background_colours[brush_pale_orange];
    // Edges 40, 600, 150 and 570; right and bottom are outside.
    const struct {
        int x, y;
        ColourRef expected;
    } points[] = {{40, 150, fill},   {39, 150, white},  {40, 149, white}, {599, 569, fill},
                  {600, 569, white}, {599, 570, white}, {300, 300, fill}, {0, 0, white}};
    for (const auto& p : points) {
        EXPECT_EQ(image.at(p.x, p.y), p.expected) << p.x << "," << p.y;
    }
}

TEST_F(PixelTest, ClippingKeepsLinesInTheViewport) {
    const struct {
        const char* name;
        Clipping clip;
        ColourRef outside;
    } cases[] = {{"clipped", clip_on, white}, {"unclipped", clip_off, pen_colours[pen_red]}};
    for (const auto& c : cases) {
        open(200, 100);
        plotter->set_viewport(25, 75, 25, 75, c.clip);
        plotter->set_world_window(0, 1, 0, 1);
        plotter->select_pen(pen_red);
        plotter->move_to(-0.5, 0.5);
        plotter->line_to(1.5, 0.5);
        const platform::Image image = close_and_shoot();
        EXPECT_EQ(image.at(100, 50), pen_colours[pen_red]) << c.name;
        EXPECT_EQ(image.at(10, 50), c.outside) << c.name;
        EXPECT_EQ(image.at(190, 50), c.outside) << c.name;
    }
}

// Viewport 20..180 x 10..90. A wide frame keeps its outer half although the viewport clips,
// and clipping is back for what follows.
TEST_F(PixelTest, FramesKeepTheirFullWidth) {
    const struct {
        int width;
        std::vector<int> frame_columns;  // left edge, x in device units
        std::vector<int> white_columns;
    } cases[] = {{1, {20}, {19, 21}}, {3, {19, 20, 21}, {17, 23}}};
    for (const auto& c : cases) {
        open(200, 100);
        plotter->set_pen_width(c.width);
        plotter->set_colours(brush_pale_cyan, pen_blue, pen_black, pen_dark_blue);
        plotter->set_viewport(10, 90, 10, 90, clip_on);
        plotter->draw_frame(-1);
        plotter->set_world_window(0, 1, 0, 1);
        plotter->select_pen(pen_green);
        plotter->move_to(-1, 0.3);
        plotter->line_to(2, 0.3);
        const platform::Image image = close_and_shoot();

        const ColourRef frame = pen_colours[pen_blue];
        for (int x : c.frame_columns) {
            EXPECT_EQ(image.at(x, 50), frame) << "width " << c.width << " x " << x;
        }
        for (int x : c.white_columns) {
            EXPECT_NE(image.at(x, 50), frame) << "width " << c.width << " x " << x;
        }
        EXPECT_EQ(image.at(180 - (c.width == 1 ? 1 : 0), 50), frame) << "width " << c.width;
        EXPECT_EQ(image.at(100, 10), frame) << "width " << c.width;
        EXPECT_EQ(image.at(100, 50), background_colours[brush_pale_cyan])
            << "the frame fills its inside";
        EXPECT_EQ(image.at(5, 66), white) << "clipping returns after the frame";
        EXPECT_EQ(image.at(100, 66), pen_colours[pen_green]);
    }
}

TEST_F(PixelTest, TextCellHasOnlyTheTextAndBackgroundColours) {
    open(300, 100);
    plotter->set_colours(brush_pale_orange, pen_dark_green, pen_black, pen_blue);
    plotter->set_viewport(0, 100, 0, 100, clip_on);
    const int x = plotter->text_x;
    const int y = plotter->text_y;
    plotter->put_text("WMgy");
    const platform::Extent cell = plotter->text_extent;
    const platform::Image image = close_and_shoot();

    ASSERT_GT(cell.cx, 0);
    ASSERT_GT(cell.cy, 0);
    std::set<ColourRef> colours;
    for (int py = y; py < y + cell.cy; ++py) {
        for (int px = x; px < x + cell.cx; ++px) {
            colours.insert(image.at(px, py));
        }
    }
    EXPECT_EQ(colours,
              (std::set<ColourRef>{background_colours[brush_pale_orange], pen_colours[pen_blue]}));
    EXPECT_EQ(image.at(x + cell.cx + 2, y + 2), white);
}

TEST_F(PixelTest, GridLinesFallOnTenths) {
    open(640, 480);
    plotter->set_viewport(0, 100, 0, 100, clip_on);
    plotter->set_world_window(-1, 1, -1, 1);
    plotter->draw_grid(10, 10, 400);
    EXPECT_EQ(plotter->world_left, -1);
    EXPECT_EQ(plotter->x_scale, 320);
    const platform::Image image = close_and_shoot();

    const ColourRef grid = pen_colours[pen_dark_green];
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(image.at(64 * i, 5), grid) << "vertical " << i;
        EXPECT_EQ(image.at(64 * i, 470), grid) << "vertical " << i;
        EXPECT_EQ(image.at(64 * i + 32, 250), white) << "between " << i;
        EXPECT_EQ(image.at(630, 480 - 48 * i), grid) << "horizontal " << i;
    }
    EXPECT_EQ(image.at(0, 250), white) << "no line on the viewport's edge";
}

// A printer whose page is an offscreen window.
class PrintedPageTest : public PixelTest {
  protected:
    void print(Answer colour) {
        open(320, 240);
        plotter->end_output();
        paper = platform::create_offscreen_window(400, 300);
        paper_device = paper->get_device();
        printer.forward_to = paper_device;
        printer.attach(*plotter);
        platform::PrinterEntrySeam entry("Paper,winspool,");
        boxes.queue_answer(Answer::yes);
        boxes.queue_answer(colour);
        plotter->begin_output(printer_output);
        plotter->set_colours(brush_pale_orange, pen_dark_cyan, pen_dark_yellow, pen_blue);
        plotter->set_viewport(10, 90, 10, 90, clip_on);
        plotter->frame_viewport(brush_pale_orange);
        plotter->set_world_window(0, 1, 0, 1);
        plotter->select_pen(pen_green);
        plotter->move_to(0, 0.2);
        plotter->line_to(1, 0.8);
        plotter->set_text_colour(pen_red);
        plotter->print_line("f(x,y) = %.5f", 1.25);
        plotter->end_output();
        paper->release_device(paper_device);
        page = platform::snapshot(*paper);
    }
    std::set<ColourRef> page_colours() const {
        return std::set<ColourRef>(page.pixels.begin(), page.pixels.end());
    }

    PrinterStub printer;
    std::unique_ptr<platform::Window> paper;
    platform::Device* paper_device = nullptr;
    platform::Image page;
};

TEST_F(PrintedPageTest, MonochromePageIsBlackOnWhite) {
    print(Answer::no);
    EXPECT_EQ(page_colours(), (std::set<ColourRef>{black, white}));
}

TEST_F(PrintedPageTest, ColourPageHasTheScreenColours) {
    print(Answer::yes);
    const std::set<ColourRef> colours = page_colours();
    for (ColourRef c : {background_colours[brush_pale_orange], pen_colours[pen_dark_cyan],
                        pen_colours[pen_green], pen_colours[pen_red]}) {
        EXPECT_TRUE(colours.count(c)) << std::hex << c;
    }
}

TEST_F(PixelTest, ObjectsAreBackAfterManyPlotsAndPrints) {
    // A queue that does not exist: the print fails and is reported, and nothing leaks.
    platform::PrinterEntrySeam entry("toven-no-such-queue,winspool,Ne00:");
    const platform::ObjectCounts before = platform::live_objects();
    open(320, 240);
    std::optional<platform::Refusal> refusal;
    for (int i = 0; i < 10; ++i) {
        plotter->begin_output(screen_output);
        plotter->set_viewport(0, 60, 0, 100, clip_on);
        plotter->frame_viewport(brush_white);
        plotter->print_line("line %d", i);
        plotter->set_pen_width(3);
        boxes.queue_answer(Answer::yes);
        boxes.queue_answer(Answer::yes);
        refusal = plotter->begin_output(printer_output);
        plotter->set_viewport(0, 60, 0, 100, clip_on);
        plotter->draw_frame(-1);
        plotter->end_output();
    }
    plotter.reset();
    EXPECT_EQ(platform::live_objects(), before);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->message.find("Printing failed"), std::string::npos) << refusal->message;
    const auto& shown = boxes.shown();
    EXPECT_TRUE(std::none_of(shown.begin(), shown.end(),
                             [](const auto& box) { return box.text == "Printing is Finished"; }));
}

}  // namespace
}  // namespace toven::test_support
