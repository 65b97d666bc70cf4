// Integer device geometry: x to the right, y downward, right and bottom edges exclusive.
#pragma once

namespace toven::platform {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Extent {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Extent&, const Extent&) = default;
};

}  // namespace toven::platform
