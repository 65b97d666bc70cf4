// What the platform's own services ask of the test seams of message_box.h, file_dialog.h
// and printing.h: whether a seam lives, and then its answer, which it records. Only those
// services include this; tests use the seams' classes.
#pragma once

#include <optional>
#include <string>

#include "platform/file_dialog.h"
#include "platform/message_box.h"

namespace toven::platform::seam_answers {

bool message_box_live();
MessageBoxAnswer message_box(ShownMessageBox box);

bool file_dialog_live();
std::optional<std::string> file_dialog(ShownFileDialog dialog);

bool printer_entry_live();
// The newest live seam's entry.
std::string printer_entry();

}  // namespace toven::platform::seam_answers
