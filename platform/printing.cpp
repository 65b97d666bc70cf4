#include "platform/printing.h"

#include <cassert>

#include "platform/qt/printers.h"

namespace toven::platform {

namespace {

// The entry the live seam answers; null while no seam lives.
std::string* seam_entry = nullptr;

}  // namespace

std::string default_printer_entry() {
    if (seam_entry != nullptr) {
        return *seam_entry;
    }
    return qt::system_default_printer_entry();
}

std::unique_ptr<PrinterDevice> create_printer_device(const std::string& name) {
    return qt::open_printer_device(name);
}

PrinterEntrySeam::PrinterEntrySeam(std::string entry) {
    assert(seam_entry == nullptr && "only one PrinterEntrySeam may live at a time");
    seam_entry = new std::string(std::move(entry));
}

PrinterEntrySeam::~PrinterEntrySeam() {
    delete seam_entry;
    seam_entry = nullptr;
}

}  // namespace toven::platform
