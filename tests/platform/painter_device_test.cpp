// Lines, rectangles, fills and clipping on an offscreen device, checked on the pixels.
#include <gtest/gtest.h>

#include <ostream>

#include "platform/drawing_objects.h"
#include "platform/picture_files.h"
#include "tests/platform/drawing_fixture.h"

namespace toven::platform::testing {
namespace {

struct LineCase {
    const char* name;
    Point from;
    Point to;
    int pixels;  // pen-coloured pixels drawn
};

void PrintTo(const LineCase& line, std::ostream* out) {
    *out << line.name;
}

class OnePixelLine : public DrawingTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(OnePixelLine, LeavesOutItsEndPoint) {
    const LineCase& line = GetParam();
    use_pen(1, red);
    device->move_to(line.from.x, line.from.y);
    device->line_to(line.to.x, line.to.y);
    const Image image = picture();
    EXPECT_EQ(count_colour(image, red), line.pixels);
    EXPECT_EQ(image.at(line.to.x, line.to.y), white);
    if (line.pixels > 0) {
        EXPECT_EQ(image.at(line.from.x, line.from.y), red);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, OnePixelLine,
                         ::testing::Values(LineCase{"rightward", {2, 5}, {12, 5}, 10},
                                           LineCase{"leftward", {12, 5}, {2, 5}, 10},
                                           LineCase{"downward", {3, 2}, {3, 20}, 18},
                                           LineCase{"upward", {3, 20}, {3, 2}, 18},
                                           LineCase{"diagonal", {2, 2}, {12, 12}, 10},
                                           LineCase{"steep", {4, 1}, {7, 20}, 19},
                                           LineCase{"steep_back", {7, 20}, {4, 1}, 19},
                                           LineCase{"shallow_back", {30, 9}, {1, 2}, 29},
                                           LineCase{"no_length", {5, 5}, {5, 5}, 0}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(DrawingTest, ConnectedLinesDrawEveryCornerOnce) {
    use_pen(1, red);
    device->move_to(2, 2);
    device->line_to(12, 2);
    device->line_to(12, 8);
    device->line_to(2, 8);
    const Image image = picture();
    EXPECT_EQ(count_colour(image, red), 10 + 6 + 10);
    EXPECT_EQ(image.at(12, 2), red);
    EXPECT_EQ(image.at(2, 8), white);
}

// A device coordinate can be any integer (a plot of huge values): the visible part is
// drawn as for any line, and the drawing takes no longer than for a short one.
TEST_F(DrawingTest, FarAwayEndsDrawTheVisiblePart) {
    use_pen(1, red);
    device->move_to(-2000000000, -1000000000);
    device->line_to(2000000000, 1000000000);
    device->move_to(5, 2147483647);
    device->line_to(5, -2147483647);
    const Image image = picture();
    EXPECT_EQ(image.at(10, 5), red);
    EXPECT_EQ(image.at(20, 10), red);
    EXPECT_EQ(image.at(5, 0), red);
    EXPECT_EQ(image.at(5, 29), red);
    EXPECT_EQ(count_colour(image, red), 40 + 30 - 1);
}

TEST_F(DrawingTest, FarAwayRectanglesFillsAndTextDrawTheirVisiblePart) {
    constexpr int far = 2147483647;
    use_pen(1, red);
    use_brush(blue);
    device->rectangle(-far, -far, far, 10);
    Region* region = create_rect_region({-far, 20, far, far});
    Brush* brush = create_solid_brush(green);
    device->fill_region(*region, *brush);
    device->select_clip_region(region);
    device->text_out(far, far, "nowhere");
    device->text_out(-far, -far, "nowhere");
    const Image image = picture();
    EXPECT_EQ(image.at(5, 9), red);
    EXPECT_EQ(image.at(5, 5), blue);
    EXPECT_EQ(image.at(5, 25), green);
    delete_object(region);
    delete_object(brush);
}

TEST_F(DrawingTest, FarAwayEndsOfWidePensDoNotHang) {
    use_pen(3, blue);
    device->move_to(-2000000000, 15);
    device->line_to(2000000000, 15);
    const Image image = picture();
    EXPECT_EQ(image.at(20, 15), blue);
    EXPECT_EQ(image.at(20, 16), blue);
}

TEST_F(DrawingTest, WidePenIsCentredOnTheLineAndCoversItsEnds) {
    use_pen(3, blue);
    device->move_to(5, 10);
    device->line_to(25, 10);
    const Image image = picture();
    for (int y : {9, 10, 11}) {
        EXPECT_EQ(image.at(15, y), blue) << "row " << y;
    }
    EXPECT_EQ(image.at(15, 8), white);
    EXPECT_EQ(image.at(15, 12), white);
    EXPECT_EQ(image.at(5, 10), blue);
    EXPECT_EQ(image.at(25, 10), blue);
}

TEST_F(DrawingTest, RectangleOutlinesInThePenAndFillsInTheBrush) {
    use_pen(1, red);
    use_brush(blue);
    device->rectangle(5, 5, 15, 12);
    const Image image = picture();
    EXPECT_EQ(count_colour(image, red), 2 * 10 + 2 * 5);
    EXPECT_EQ(count_colour(image, blue), 8 * 5);
    EXPECT_EQ(image.at(5, 5), red);
    EXPECT_EQ(image.at(14, 11), red);
    EXPECT_EQ(image.at(15, 11), white);
    EXPECT_EQ(image.at(14, 12), white);
}

TEST_F(DrawingTest, ThreeWideFrameIsCentredOnTheEdgesWithSquareCorners) {
    use_pen(3, green);
    use_brush(blue);
    device->rectangle(10, 10, 30, 25);
    const Image image = picture();
    // The outline runs along x = 10 and x = 29, y = 10 and y = 24, one pixel either side.
    for (Point p : {Point{9, 9}, Point{11, 11}, Point{30, 25}, Point{28, 23}, Point{9, 25},
                    Point{30, 9}, Point{20, 9}, Point{20, 25}}) {
        EXPECT_EQ(image.at(p.x, p.y), green) << p.x << "," << p.y;
    }
    EXPECT_EQ(image.at(12, 12), blue);
    EXPECT_EQ(image.at(27, 22), blue);
    EXPECT_EQ(image.at(8, 17), white);
    EXPECT_EQ(image.at(31, 17), white);
    EXPECT_EQ(count_colour(image, green), 22 * 17 - 16 * 11);
}

TEST_F(DrawingTest, FillRegionFillsExactlyItsRectangle) {
    use_pen(1, red);
    Region* region = create_rect_region({3, 4, 8, 9});
    Brush* brush = create_solid_brush(green);
    device->fill_region(*region, *brush);
    const Image image = picture();
    EXPECT_EQ(count_colour(image, green), 25);
    EXPECT_EQ(image.at(3, 4), green);
    EXPECT_EQ(image.at(7, 8), green);
    EXPECT_EQ(count_colour(image, red), 0);
    delete_object(region);
    delete_object(brush);
}

TEST_F(DrawingTest, ClipRegionCutsLinesFillsAndRectanglesUntilLifted) {
    Region* clip = create_rect_region({10, 10, 20, 20});
    Region* everything = create_rect_region({0, 0, 40, 30});
    Brush* brush = create_solid_brush(green);
    use_pen(1, red);
    device->select_clip_region(clip);
    delete_object(clip);  // the device keeps its own copy
    device->fill_region(*everything, *brush);
    device->move_to(0, 15);
    device->line_to(40, 15);
    device->select_clip_region(nullptr);
    device->move_to(0, 25);
    device->line_to(40, 25);
    const Image image = picture();
    EXPECT_EQ(count_colour(image, green), 10 * 10 - 10);
    EXPECT_EQ(image.at(9, 10), white);
    EXPECT_EQ(image.at(20, 19), white);
    EXPECT_EQ(count_colour(image, red), 10 + 40);
    EXPECT_EQ(image.at(10, 15), red);
    EXPECT_EQ(image.at(19, 15), red);
    delete_object(everything);
    delete_object(brush);
}

TEST_F(DrawingTest, EmptyClipRegionDrawsNothing) {
    Region* clip = create_rect_region({10, 10, 10, 20});
    use_pen(1, red);
    device->select_clip_region(clip);
    device->move_to(0, 15);
    device->line_to(40, 15);
    EXPECT_EQ(count_colour(picture(), red), 0);
    delete_object(clip);
}

// Kept pixels go back over later drawing (lines still held back included) through a clip
// that would cut them; a block reaching off the surface keeps only the part on it.
TEST_F(DrawingTest, SavedPixelsGoBackOverLaterDrawingWhateverTheClip) {
    use_pen(1, red);
    device->move_to(0, 12);
    device->line_to(40, 12);
    const SavedPixels saved = device->save_pixels({30, 8, 50, 16});
    EXPECT_EQ(saved.rect, (Rect{30, 8, 40, 16}));
    use_pen(1, blue);
    device->move_to(0, 12);
    device->line_to(40, 12);
    Region* clip = create_rect_region({0, 0, 5, 5});
    device->select_clip_region(clip);
    delete_object(clip);
    device->restore_pixels(saved);
    const Image image = picture();
    EXPECT_EQ(count_colour(image, red), 10);
    EXPECT_EQ(count_colour(image, blue), 30);
    EXPECT_EQ(image.at(29, 12), blue);
}

TEST_F(DrawingTest, SelectedPenMayBeDeletedAndSelectReturnsThePreviousOne) {
    Pen* first = create_pen(1, red);
    Pen* second = create_pen(1, blue);
    EXPECT_EQ(device->select_pen(first), nullptr);
    EXPECT_EQ(device->select_pen(second), first);
    EXPECT_EQ(device->select_pen(first), second);
    delete_object(first);
    delete_object(second);
    device->move_to(0, 0);
    device->line_to(5, 0);
    EXPECT_EQ(count_colour(picture(), blue), 0);
    EXPECT_EQ(count_colour(snapshot(*window), red), 5);
}

// Draws a mesh of short strokes with moves in between, as the surface drawing does; with
// `one_at_a_time`, each line is drawn on its own before the next is given.
Image mesh(int pen_width, bool one_at_a_time) {
    auto window = create_offscreen_window(120, 90);
    Device* device = window->get_device();
    Pen* pen = create_pen(pen_width, red);
    device->select_pen(pen);
    for (int curve = 0; curve < 12; ++curve) {
        device->move_to(5, 5 + curve * 7);
        for (int step = 1; step < 40; ++step) {
            if (step % 9 == 0) {
                device->move_to(5 + step * 3, 5 + curve * 7 + (step * curve) % 5);
                continue;
            }
            device->line_to(5 + step * 3, 5 + curve * 7 + (step * step * curve) % 6);
            if (one_at_a_time) {
                device->select_pen(pen);
            }
        }
    }
    window->release_device(device);
    delete_object(pen);
    return snapshot(*window);
}

TEST(LineBatching, DrawsTheSamePixelsAsLinesOneAtATime) {
    for (int width : {1, 2, 3}) {
        const Image batched = mesh(width, false);
        const Image single = mesh(width, true);
        EXPECT_GT(count_colour(batched, red), 0);
        EXPECT_EQ(batched.pixels, single.pixels) << "pen width " << width;
    }
}

TEST(SharedWindow, TwoDevicesDrawInTheOrderOfTheirCalls) {
    auto window = create_offscreen_window(30, 30);
    Device* lines = window->get_device();
    Device* fills = window->get_device();
    Pen* pen = create_pen(1, red);
    Brush* brush = create_solid_brush(green);
    Region* region = create_rect_region({0, 0, 30, 20});
    lines->select_pen(pen);
    lines->move_to(0, 10);
    lines->line_to(30, 10);  // held back, but drawn before the later fill
    fills->fill_region(*region, *brush);
    lines->move_to(0, 25);
    lines->line_to(30, 25);
    window->release_device(fills);
    window->release_device(lines);
    const Image image = snapshot(*window);
    EXPECT_EQ(image.at(5, 10), green);
    EXPECT_EQ(image.at(5, 25), red);
    delete_object(pen);
    delete_object(brush);
    delete_object(region);
}

}  // namespace
}  // namespace toven::platform::testing
