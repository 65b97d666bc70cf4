// A small offscreen window and its device, for tests that look at the pixels drawn.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/picture_files.h"
#include "platform/window.h"
#include "tests/support/pixel_counts.h"

namespace toven::platform::testing {

constexpr ColourRef white = rgb(255, 255, 255);
constexpr ColourRef black = rgb(0, 0, 0);
constexpr ColourRef red = rgb(255, 0, 0);
constexpr ColourRef blue = rgb(0, 0, 255);
constexpr ColourRef green = rgb(0, 160, 0);

class DrawingTest : public ::testing::Test {
  protected:
    explicit DrawingTest(int width = 40, int height = 30)
        : window(create_offscreen_window(width, height)), device(window->get_device()) {}

    ~DrawingTest() override {
        release();
        for (const Pen* pen : pens) {
            delete_object(pen);
        }
        for (const Brush* brush : brushes) {
            delete_object(brush);
        }
    }

    void use_pen(int width, ColourRef colour) {
        pens.push_back(create_pen(width, colour));
        device->select_pen(pens.back());
    }
    void use_brush(ColourRef colour) {
        brushes.push_back(create_solid_brush(colour));
        device->select_brush(brushes.back());
    }
    void release() {
        if (device != nullptr) {
            window->release_device(device);
            device = nullptr;
        }
    }
    // The picture with everything drawn (the device is given back first).
    Image picture() {
        release();
        return snapshot(*window);
    }

    std::unique_ptr<Window> window;
    Device* device;
    std::vector<Pen*> pens;
    std::vector<Brush*> brushes;
};

// The pixels of `colour` in a picture, as "x,y" strings, row by row.
inline std::vector<std::string> pixels_of(const Image& image, ColourRef colour) {
    std::vector<std::string> found;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.at(x, y) == colour) {
                found.push_back(std::to_string(x) + "," + std::to_string(y));
            }
        }
    }
    return found;
}

using test_support::count_colour;

}  // namespace toven::platform::testing
