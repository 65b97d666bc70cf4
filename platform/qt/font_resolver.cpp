#include "platform/qt/font_resolver.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace toven::platform::qt {

namespace {

// The pixel size at which a face's proportions are measured; large enough that rounding in
// the metrics does not show in the ratios taken from them.
constexpr int reference_pixel_size = 200;

// QFont::setStretch accepts factors in percent within these bounds.
constexpr int min_stretch = 1;
constexpr int max_stretch = 4000;

QFont::Weight weight_of(int weight) {
    if (weight <= 0) {
        return QFont::Normal;
    }
    return static_cast<QFont::Weight>(std::clamp(weight, 1, 1000));
}

}  // namespace

const QFont& FontResolver::resolve(const LogicalFont& description, bool fixed_pitch) {
    for (const Entry& entry : fonts_) {
        if (entry.fixed_pitch == fixed_pitch && entry.description == description) {
            return entry.font;
        }
    }
    fonts_.push_back({description, fixed_pitch, build(description, fixed_pitch)});
    return fonts_.back().font;
}

const QFont& FontResolver::default_font() {
    LogicalFont system;
    return resolve(system, false);
}

QFont FontResolver::build(const LogicalFont& description, bool fixed_pitch) const {
    QFont font = fixed_pitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                             : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (!fixed_pitch && !description.face.empty()) {
        font.setFamilies(QStringList{QString::fromStdString(description.face)});
    }
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    // Whole-pixel advances, whatever the desktop's hinting: a text's extent is then the sum
    // of its characters' widths, as it was on the old device.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setWeight(weight_of(description.weight));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strike_out);
    set_size(font, description);
    if (description.width > 0) {
        set_width(font, description.width);
    }
    return font;
}

void FontResolver::set_size(QFont& font, const LogicalFont& description) const {
    if (description.height < 0) {
        font.setPixelSize(-description.height);
    } else if (description.height > 0) {
        QFont reference = font;
        reference.setPixelSize(reference_pixel_size);
        const QFontMetricsF metrics(reference, metrics_device_);
        const double cell = metrics.ascent() + metrics.descent();
        const double em =
            cell > 0 ? description.height * reference_pixel_size / cell : description.height;
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    }
}

void FontResolver::set_width(QFont& font, int width) const {
    const QFontMetricsF metrics(font, metrics_device_);
    const double natural = metrics.averageCharWidth();
    if (natural <= 0) {
        return;
    }
    const auto stretch = static_cast<int>(std::lround(100.0 * width / natural));
    font.setStretch(std::clamp(stretch, min_stretch, max_stretch));
}

}  // namespace toven::platform::qt
