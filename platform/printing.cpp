#include "platform/printing.h"

#include <vector>

#include "platform/qt/printers.h"

namespace toven::platform {

namespace {

// The entries of the live seams, the newest last; the newest answers.
std::vector<std::string>* seam_entries = nullptr;

}  // namespace

std::string default_printer_entry() {
    if (seam_entries != nullptr) {
        return seam_entries->back();
    }
    return qt::system_default_printer_entry();
}

std::unique_ptr<PrinterDevice> create_printer_device(const std::string& name) {
    return qt::open_printer_device(name);
}

PrinterEntrySeam::PrinterEntrySeam(std::string entry) {
    if (seam_entries == nullptr) {
        seam_entries = new std::vector<std::string>;
    }
    seam_entries->push_back(std::move(entry));
}

PrinterEntrySeam::~PrinterEntrySeam() {
    seam_entries->pop_back();
    if (seam_entries->empty()) {
        delete seam_entries;
        seam_entries = nullptr;
    }
}

}  // namespace toven::platform
