// Clipping on SVG pages. Qt's SVG writer leaves clip rectangles out, so a canvas drawing on an
// SVG page marks each clip it sets with an ellipse inscribed in the clip rectangle (the page
// draws no ellipses of its own), and the finished document is rewritten: each marker
// becomes a clip path on the groups drawn after it.
#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRect>
#include <QSize>

namespace toven::platform::qt {

// Marks `clip` (or, when lifted, the whole page of `page_size`) on an SVG painter.
void mark_svg_clip(QPainter& painter, const QRect* clip, QSize page_size);

// The document Qt wrote, with its clip markers turned into clip paths.
QByteArray with_svg_clips(const QByteArray& document, QSize page_size);

}  // namespace toven::platform::qt
