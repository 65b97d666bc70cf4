// Pens, brushes, regions and fonts: plain descriptions that a device copies when they are
// selected, so deleting an object that is still selected never leaves the device dangling.
// Whoever calls a create_ function owns the object and gives it back with delete_object;
// every live object is counted, so tests can prove that nothing leaks.
#pragma once

#include <atomic>
#include <string>

#include "platform/colour.h"
#include "platform/geometry.h"

namespace toven::platform {

// Live-object accounting: the counters of every kind of object the platform hands out.
struct ObjectCounts {
    int pens = 0;
    int brushes = 0;
    int regions = 0;
    int fonts = 0;
    int devices = 0;
    friend bool operator==(const ObjectCounts&, const ObjectCounts&) = default;
};

ObjectCounts live_objects();

namespace detail {
// Adds one to its kind's counter for every live object of a derived type. Pages are drawn on
// several threads at once, so the counters are atomic; only their sums matter.
template <std::atomic<int>& counter>
struct Counted {
    Counted() { counter.fetch_add(1, std::memory_order_relaxed); }
    Counted(const Counted&) { counter.fetch_add(1, std::memory_order_relaxed); }
    Counted& operator=(const Counted&) = default;
    ~Counted() { counter.fetch_sub(1, std::memory_order_relaxed); }
};
extern std::atomic<int> live_pens;
extern std::atomic<int> live_brushes;
extern std::atomic<int> live_regions;
extern std::atomic<int> live_fonts;
extern std::atomic<int> live_devices;
}  // namespace detail

// A solid pen of a width in device units.
struct Pen : detail::Counted<detail::live_pens> {
    int width = 1;
    ColourRef colour = 0;
};

struct Brush : detail::Counted<detail::live_brushes> {
    ColourRef colour = 0;
};

struct Region : detail::Counted<detail::live_regions> {
    Rect rect;
};

// A logical font: a negative height asks for that character height without internal
// leading, a positive one for that cell height; width 0 leaves the width to the face.
struct LogicalFont {
    int height = 0;
    int width = 0;
    int weight = 0;  // 0 is the face's normal weight, 700 bold
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    std::string face;
    friend bool operator==(const LogicalFont&, const LogicalFont&) = default;
};

struct Font : detail::Counted<detail::live_fonts> {
    LogicalFont description;
    bool fixed_pitch = false;  // the system's fixed-pitch face, whatever the face name says
};

Pen* create_pen(int width, ColourRef colour);
Brush* create_solid_brush(ColourRef colour);
Region* create_rect_region(const Rect& rect);
Font* create_font(const LogicalFont& description);

// The stock fixed-pitch font: owned by the platform, never deleted by a caller
// (delete_object ignores it) and not counted.
const Font* stock_fixed_font();

// Each accepts null and does nothing then.
void delete_object(const Pen* pen);
void delete_object(const Brush* brush);
void delete_object(const Region* region);
void delete_object(const Font* font);

}  // namespace toven::platform
