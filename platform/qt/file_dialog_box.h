// The real file dialogs: Qt's save and open dialogs, the desktop's own where it offers one.
// Internal to the platform layer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialog.h"

namespace toven::platform::qt {

// Needs a session with widgets (can_show_dialogs()).
std::optional<std::string> show_save_dialog(Window* owner, const std::string& caption,
                                            const std::string& suggested_name,
                                            const std::vector<FileType>& types);
std::optional<std::string> show_open_dialog(Window* owner, const std::string& caption,
                                            const std::vector<FileType>& types);

}  // namespace toven::platform::qt
