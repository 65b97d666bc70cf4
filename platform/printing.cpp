#include "platform/printing.h"

#include <string>
#include <vector>

#include "platform/seam_answers.h"
#include "platform/seam_state.h"

namespace toven::platform {

namespace {

// The entries of the live seams, the newest last; the newest answers.
SharedSeamState<std::vector<std::string>> seam_entries;

}  // namespace

PrinterEntrySeam::PrinterEntrySeam(std::string entry) {
    seam_entries.join();
    seam_entries.state().push_back(std::move(entry));
}

PrinterEntrySeam::~PrinterEntrySeam() {
    seam_entries.state().pop_back();
    seam_entries.leave();
}

bool seam_answers::printer_entry_live() {
    return seam_entries.live();
}

std::string seam_answers::printer_entry() {
    return seam_entries.state().back();
}

}  // namespace toven::platform
