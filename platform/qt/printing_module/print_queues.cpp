// The printing module's entry.
#include "platform/qt/printing_module/print_queues.h"

#include "platform/qt/printers.h"

extern "C" __attribute__((visibility("default"))) const toven::platform::qt::PrintQueues*
toven_print_queues() {
    static const toven::platform::qt::PrintQueues queues{
        &toven::platform::qt::system_default_printer_entry,
        &toven::platform::qt::open_printer_device};
    return &queues;
}
