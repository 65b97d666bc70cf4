// What the CUPS scheduler answered to this thread's last request. Internal to the platform.
#pragma once

#include <optional>
#include <string>

namespace toven::platform::qt {

// Empty when the last request succeeded, else the scheduler's message (for example
// "Destination "PDF" is not accepting jobs.").
std::optional<std::string> last_cups_refusal();

}  // namespace toven::platform::qt
