// A window procedure as a table: each message goes to its named handler, and a message the
// table does not list gets default processing.
#pragma once

#include <cstdint>
#include <span>

#include "platform/window_system.h"

namespace toven {

using MessageHandler = std::intptr_t (*)(platform::Window* window, std::uintptr_t wparam,
                                         std::intptr_t lparam);

struct MessageEntry {
    unsigned message;
    MessageHandler handler;
};

inline std::intptr_t dispatch_message(std::span<const MessageEntry> table, platform::Window* window,
                                      unsigned message, std::uintptr_t wparam,
                                      std::intptr_t lparam) {
    for (const MessageEntry& entry : table) {
        if (entry.message == message) {
            return entry.handler(window, wparam, lparam);
        }
    }
    return platform::def_window_procedure(window, message, wparam, lparam);
}

}  // namespace toven
