#include "platform/drawing_objects.h"

namespace toven::platform {

namespace detail {
std::atomic<int> live_pens = 0;
std::atomic<int> live_brushes = 0;
std::atomic<int> live_regions = 0;
std::atomic<int> live_fonts = 0;
std::atomic<int> live_devices = 0;
}  // namespace detail

namespace {

// The stock font is counted while it is built, like every Font; it then takes itself off
// the count, so that its first use never shows up as a leak in a test's before-and-after.
struct StockFixedFont {
    Font font;
    StockFixedFont() {
        font.fixed_pitch = true;
        detail::live_fonts.fetch_sub(1, std::memory_order_relaxed);
    }
    ~StockFixedFont() { detail::live_fonts.fetch_add(1, std::memory_order_relaxed); }
};

}  // namespace

ObjectCounts live_objects() {
    return {detail::live_pens.load(), detail::live_brushes.load(), detail::live_regions.load(),
            detail::live_fonts.load(), detail::live_devices.load()};
}

Pen* create_pen(int width, ColourRef colour) {
    auto* pen = new Pen;
    pen->width = width;
    pen->colour = colour;
    return pen;
}

Brush* create_solid_brush(ColourRef colour) {
    auto* brush = new Brush;
    brush->colour = colour;
    return brush;
}

Region* create_rect_region(const Rect& rect) {
    auto* region = new Region;
    region->rect = rect;
    return region;
}

Font* create_font(const LogicalFont& description) {
    auto* font = new Font;
    font->description = description;
    return font;
}

const Font* stock_fixed_font() {
    static const StockFixedFont stock;
    return &stock.font;
}

void delete_object(const Pen* pen) {
    delete pen;
}
void delete_object(const Brush* brush) {
    delete brush;
}
void delete_object(const Region* region) {
    delete region;
}

void delete_object(const Font* font) {
    if (font != stock_fixed_font()) {
        delete font;
    }
}

}  // namespace toven::platform
