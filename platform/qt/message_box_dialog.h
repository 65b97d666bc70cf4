// The real message box: a modal Qt dialog. Internal to the platform layer.
#pragma once

#include <string>

#include "platform/message_box.h"

namespace toven::platform::qt {

// True when the session has widgets (a headless session has none, and takes default answers).
bool can_show_dialogs();

int title_bar_width(const std::string& caption);

MessageBoxAnswer show_message_box(Window* owner, const std::string& text,
                                  const std::string& caption, MessageBoxButtons buttons);

}  // namespace toven::platform::qt
