// Live-object accounting: every object made is counted until it is given back.
#include <gtest/gtest.h>

#include "platform/drawing_objects.h"
#include "platform/window.h"

namespace toven::platform {
namespace {

TEST(ObjectAccounting, CountsEveryKindUntilItIsDeleted) {
    const ObjectCounts start = live_objects();
    Pen* pen = create_pen(3, rgb(1, 2, 3));
    Brush* brush = create_solid_brush(rgb(4, 5, 6));
    Region* region = create_rect_region({1, 2, 3, 4});
    Font* font = create_font({-13, 0, 700, true, false, false, "Times New Roman"});
    auto window = create_offscreen_window(10, 10);
    Device* device = window->get_device();

    const ObjectCounts during = live_objects();
    EXPECT_EQ(during.pens, start.pens + 1);
    EXPECT_EQ(during.brushes, start.brushes + 1);
    EXPECT_EQ(during.regions, start.regions + 1);
    EXPECT_EQ(during.fonts, start.fonts + 1);
    EXPECT_EQ(during.devices, start.devices + 1);
    EXPECT_EQ(pen->width, 3);
    EXPECT_EQ(brush->colour, rgb(4, 5, 6));
    EXPECT_EQ(region->rect, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(font->description.weight, 700);

    window->release_device(device);
    delete_object(pen);
    delete_object(brush);
    delete_object(region);
    delete_object(font);
    EXPECT_EQ(live_objects(), start);
}

TEST(ObjectAccounting, StockFixedFontIsNeverCountedNorDeleted) {
    const ObjectCounts start = live_objects();
    const Font* stock = stock_fixed_font();
    EXPECT_EQ(live_objects(), start);
    EXPECT_TRUE(stock->fixed_pitch);
    EXPECT_EQ(stock_fixed_font(), stock);
    delete_object(stock);
    EXPECT_EQ(stock_fixed_font(), stock);
    EXPECT_EQ(live_objects(), start);
}

TEST(ObjectAccounting, DeletingNullDoesNothing) {
    const ObjectCounts start = live_objects();
    delete_object(static_cast<const Pen*>(nullptr));
    delete_object(static_cast<const Brush*>(nullptr));
    delete_object(static_cast<const Region*>(nullptr));
    delete_object(static_cast<const Font*>(nullptr));
    EXPECT_EQ(live_objects(), start);
}

TEST(ObjectAccounting, ManyDrawingCyclesLeaveNothingBehind) {
    auto window = create_offscreen_window(50, 50);
    const ObjectCounts start = live_objects();
    for (int cycle = 0; cycle < 100; ++cycle) {
        Device* device = window->get_device();
        Pen* pen = create_pen(1 + cycle % 3, rgb(cycle, 0, 0));
        Font* font = create_font({-10 - cycle % 5, 0, 0, false, false, false, "Times New Roman"});
        device->select_pen(pen);
        device->select_font(font);
        device->text_out(1, 1, "cycle");
        device->line_to(cycle % 50, 49);
        window->release_device(device);
        delete_object(pen);
        delete_object(font);
    }
    EXPECT_EQ(live_objects(), start);
}

}  // namespace
}  // namespace toven::platform
