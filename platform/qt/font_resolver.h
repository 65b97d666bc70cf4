// Logical fonts as QFonts: a negative height is the character (em) height in pixels, a
// positive one the cell height; a width stretches the face until its average character width
// is that width. Every font is aliased text (QFont::NoAntialias) without kerning, as the old
// device drew it. Each description is resolved once per resolver.
#pragma once

#include <QFont>
#include <vector>

#include "platform/drawing_objects.h"

class QPaintDevice;

namespace toven::platform::qt {

class FontResolver {
  public:
    // `metrics_device` gives the resolution for faces sized in points; may be null.
    explicit FontResolver(QPaintDevice* metrics_device) : metrics_device_(metrics_device) {}

    const QFont& resolve(const LogicalFont& description, bool fixed_pitch);
    // What a device draws text in before any font is selected.
    const QFont& default_font();

  private:
    QFont build(const LogicalFont& description, bool fixed_pitch) const;
    void set_size(QFont& font, const LogicalFont& description) const;
    void set_width(QFont& font, int width) const;

    struct Entry {
        LogicalFont description;
        bool fixed_pitch = false;
        QFont font;
    };
    QPaintDevice* metrics_device_;
    std::vector<Entry> fonts_;
};

}  // namespace toven::platform::qt
