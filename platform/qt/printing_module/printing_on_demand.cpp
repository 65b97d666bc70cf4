// The default printer and its devices in a program part that loads printing when the person
// prints: Qt's print support and CUPS come with the printing module, not with the program.
#include <cstdio>

#include "platform/printing.h"
#include "platform/program_module.h"
#include "platform/qt/printing_module/print_queues.h"
#include "platform/seam_answers.h"

namespace toven::platform {

namespace {

// The printing module's queues; null, and the cause on standard error, where the module is
// missing. Printing then finds no printer, as on a system without print queues.
const qt::PrintQueues* print_queues() {
    // Bound at once: a printing module that does not fit the part fails here, not mid-page.
    const ProgramModule module = load_program_module("printing", Binding::at_once);
    using Entry = const qt::PrintQueues* (*)();
    const auto entry = reinterpret_cast<Entry>(module.find(qt::print_queues_entry));
    if (entry == nullptr) {
        std::fprintf(stderr, "toven: printing is not installed: %s\n",
                     module.handle == nullptr ? module.error.c_str() : qt::print_queues_entry);
        return nullptr;
    }
    return entry();
}

}  // namespace

std::string default_printer_entry() {
    if (seam_answers::printer_entry_live()) {
        return seam_answers::printer_entry();
    }
    const qt::PrintQueues* queues = print_queues();
    return queues != nullptr ? queues->default_printer_entry() : std::string();
}

std::unique_ptr<PrinterDevice> create_printer_device(const std::string& name) {
    const qt::PrintQueues* queues = print_queues();
    return queues != nullptr ? queues->open_printer_device(name) : nullptr;
}

}  // namespace toven::platform
