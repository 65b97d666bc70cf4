// The system's print queues (CUPS through Qt's print support). Internal to the platform.
#pragma once

#include <memory>
#include <string>

#include "platform/device.h"

namespace toven::platform::qt {

// "name,driver,port" of the default queue, or empty when there is none.
std::string system_default_printer_entry();

std::unique_ptr<PrinterDevice> open_printer_device(const std::string& name);

}  // namespace toven::platform::qt
