// Images of whole pages, kept in memory that the system may hand out in large pages: a page's
// pixels then cost the process one page fault instead of hundreds, which on a virtual machine
// is a good part of the time a small picture takes. Internal to the platform layer.
#pragma once

#include <QImage>
#include <QSize>

namespace toven::platform::qt {

// An image of `size` and `format` whose pixels are not yet set; an ordinary QImage where the
// image is small or the memory cannot be had that way.
QImage make_large_image(QSize size, QImage::Format format);

}  // namespace toven::platform::qt
