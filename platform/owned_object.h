// Owning handles for what the platform hands out: a pen, brush, region or font goes back
// through delete_object, a window's device through its window's release_device. An empty
// handle holds nothing and gives nothing back.
#pragma once

#include <memory>

#include "platform/device.h"
#include "platform/drawing_objects.h"
#include "platform/window.h"

namespace toven::platform {

template <class Object>
struct ObjectDeleter {
    void operator()(const Object* object) const { delete_object(object); }
};

template <class Object>
using Owned = std::unique_ptr<Object, ObjectDeleter<Object>>;

// Gives a device back to the window that handed it out.
struct DeviceRelease {
    Window* window = nullptr;
    void operator()(Device* device) const {
        if (window != nullptr) {
            window->release_device(device);
        }
    }
};

using OwnedWindowDevice = std::unique_ptr<Device, DeviceRelease>;

// The device of `window`'s client area, held until the handle is reset; empty for no window.
inline OwnedWindowDevice take_window_device(Window* window) {
    if (window == nullptr) {
        return OwnedWindowDevice(nullptr, DeviceRelease{});
    }
    return OwnedWindowDevice(window->get_device(), DeviceRelease{window});
}

}  // namespace toven::platform
