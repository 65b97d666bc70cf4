// A screen window's two units: Qt places widgets and reports the mouse in its own screen units,
// while the window's devices, client area and messages count the screen's physical pixels, the
// `ratio` of a widget's devicePixelRatioF() to a unit (2 on a screen Qt scales by two). With a
// ratio of 1 both are the same. Internal to the platform layer.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <cmath>

#include "platform/geometry.h"

namespace toven::platform::qt {

// An image of a window with this ratio has so many more pixels to the logical inch, so that
// text sized in points keeps its size on the screen.
inline void set_pixel_ratio(QImage& image, qreal ratio) {
    image.setDotsPerMeterX(static_cast<int>(std::lround(image.dotsPerMeterX() * ratio)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(image.dotsPerMeterY() * ratio)));
}

inline QSize to_device_pixels(QSize size, qreal ratio) {
    return {static_cast<int>(std::lround(size.width() * ratio)),
            static_cast<int>(std::lround(size.height() * ratio))};
}

// The pixel under a position: a position inside a pixel belongs to it.
inline Point to_device_pixels(QPointF at, qreal ratio) {
    return {static_cast<int>(std::floor(at.x() * ratio)),
            static_cast<int>(std::floor(at.y() * ratio))};
}

// The position of a pixel's top-left corner.
inline QPointF to_screen_units(Point at, qreal ratio) {
    return {at.x / ratio, at.y / ratio};
}

// The smallest rectangle of screen units that covers every pixel of `rect`.
inline QRect to_screen_units(const Rect& rect, qreal ratio) {
    const int left = static_cast<int>(std::floor(rect.left / ratio));
    const int top = static_cast<int>(std::floor(rect.top / ratio));
    const int right = static_cast<int>(std::ceil(rect.right / ratio));
    const int bottom = static_cast<int>(std::ceil(rect.bottom / ratio));
    return {left, top, right - left, bottom - top};
}

// The pixels behind a rectangle of screen units.
inline QRectF to_device_pixels(const QRect& rect, qreal ratio) {
    return {rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio};
}

}  // namespace toven::platform::qt
