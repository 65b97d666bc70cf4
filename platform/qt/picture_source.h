// The hook by which a window with a backing image lends it to snapshot() and save_picture().
// A window class derives from Window and from PictureSource.
#pragma once

#include <QImage>

namespace toven::platform::qt {

class DrawingLog;

class PictureSource {
  public:
    // The backing image with everything drawn so far; null for a window of no size.
    virtual const QImage& picture() const = 0;
    // Every drawing operation on the window, for vector files; null where none is kept
    // (a vector file then holds the image).
    virtual const DrawingLog* recording() const { return nullptr; }
    // Device pixels to a unit of the screen's layout: 2 on a screen scaled by two.
    virtual qreal pixel_ratio() const { return 1; }

  protected:
    ~PictureSource() = default;
};

}  // namespace toven::platform::qt
