// The real dialogs' common question. Internal to the platform layer.
#pragma once

namespace toven::platform::qt {

// True when the session has widgets (a headless session has none, and takes default answers).
bool can_show_dialogs();

}  // namespace toven::platform::qt
