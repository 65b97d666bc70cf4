// The default printer and its devices are the system's print queues, unless a test seam
// names the default.
#include "platform/printing.h"

#include "platform/qt/printers.h"
#include "platform/seam_answers.h"

namespace toven::platform {

std::string default_printer_entry() {
    if (seam_answers::printer_entry_live()) {
        return seam_answers::printer_entry();
    }
    return qt::system_default_printer_entry();
}

std::unique_ptr<PrinterDevice> create_printer_device(const std::string& name) {
    return qt::open_printer_device(name);
}

}  // namespace toven::platform
