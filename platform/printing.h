// The default printer and printer devices.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/device.h"

namespace toven::platform {

// The profile entry that names the default printer, in the form "name,driver,port"; empty
// when the system has no default print queue.
std::string default_printer_entry();

// A printer device for the named print queue, or null when it cannot be opened.
std::unique_ptr<PrinterDevice> create_printer_device(const std::string& name);

// The test seam for the profile entry: while it lives, default_printer_entry answers `entry`.
class PrinterEntrySeam {
  public:
    explicit PrinterEntrySeam(std::string entry);
    ~PrinterEntrySeam();
    PrinterEntrySeam(const PrinterEntrySeam&) = delete;
    PrinterEntrySeam& operator=(const PrinterEntrySeam&) = delete;
};

}  // namespace toven::platform
