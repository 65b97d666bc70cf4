#include "platform/printing.h"

#include <vector>

namespace toven::platform {

namespace {

// The entries of the live seams, the newest last; the newest answers.
std::vector<std::string>* seam_entries = nullptr;

}  // namespace

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

bool PrinterEntrySeam::live() {
    return seam_entries != nullptr;
}

std::string PrinterEntrySeam::entry() {
    return seam_entries->back();
}

}  // namespace toven::platform
