// Scaled fonts: the requested size becomes a character height (and, for a nonzero width, an
// average character width) in device units.
#include "plotter/scaled_font.h"

#include <cstdlib>
#include <string>

#include "plotter/device_coordinate.h"

namespace toven {

namespace {

using platform::DeviceCapability;

struct Resolution {
    double x_dpi = 0;
    double y_dpi = 0;
};

Resolution resolution_of(platform::Device& device, int logical) {
    if (logical != 0) {
        return {static_cast<double>(device.capability(DeviceCapability::logical_pixels_x)),
                static_cast<double>(device.capability(DeviceCapability::logical_pixels_y))};
    }
    return {quotient(25.4 * device.capability(DeviceCapability::width_pixels),
                     device.capability(DeviceCapability::width_millimetres)),
            quotient(25.4 * device.capability(DeviceCapability::height_pixels),
                     device.capability(DeviceCapability::height_millimetres))};
}

platform::LogicalFont describe(std::string_view face, int char_height, int attributes) {
    platform::LogicalFont description;
    description.height = -char_height;
    description.width = 0;
    description.weight = (attributes & font_bold) != 0 ? 700 : 0;
    description.italic = (attributes & font_italic) != 0;
    description.underline = (attributes & font_underline) != 0;
    description.strike_out = (attributes & font_strike_out) != 0;
    description.face = std::string(face.substr(0, font_face_limit));
    return description;
}

// The average width of `font` on `device`, leaving the device's font as it was.
int average_char_width(platform::Device& device, const platform::Font& font) {
    const platform::Font* previous = device.select_font(&font);
    const int width = device.text_metrics().ave_char_width;
    device.select_font(previous);
    return width;
}

}  // namespace

platform::Font* create_scaled_font(platform::Device& device, std::string_view face, int height,
                                   int width, int attributes, int logical) {
    // One seventy-second of an inch in single precision, as the sizes have always been made.
    constexpr float point = 1.0f / 72.0f;
    const Resolution dpi = resolution_of(device, logical);
    const int px = std::abs(truncate_to_device(width * dpi.x_dpi * static_cast<double>(point)));
    const int py = std::abs(truncate_to_device(height * dpi.y_dpi * static_cast<double>(point)));

    platform::LogicalFont description =
        describe(face, truncate_to_device(py * 0.1 + 0.5), attributes);
    platform::Font* font = platform::create_font(description);
    if (width == 0 || py == 0) {
        return font;
    }
    const int face_width = average_char_width(device, *font);
    platform::delete_object(font);
    description.width =
        truncate_to_device(static_cast<double>(static_cast<long long>(px) * face_width) / py + 0.5);
    return platform::create_font(description);
}

}  // namespace toven
