// What the printing module offers the part that loads it: the system's print queues, through
// Qt's print support and CUPS, which no other part of the program links.
#pragma once

#include <memory>
#include <string>

#include "platform/device.h"

namespace toven::platform::qt {

struct PrintQueues {
    std::string (*default_printer_entry)();
    std::unique_ptr<PrinterDevice> (*open_printer_device)(const std::string& name);
};

// The name of the module's `const PrintQueues* toven_print_queues()`.
inline constexpr const char* print_queues_entry = "toven_print_queues";

}  // namespace toven::platform::qt
