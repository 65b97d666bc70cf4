#include "platform/qt/cups_answer.h"

#include <cups/cups.h>

namespace toven::platform::qt {

std::optional<std::string> last_cups_refusal() {
    // Status codes up to 0x00FF are successes (RFC 8011); CUPS uses the first few.
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        return std::nullopt;
    }
    const char* message = cupsLastErrorString();
    return std::string(message != nullptr && *message != '\0' ? message
                                                              : ippErrorString(cupsLastError()));
}

}  // namespace toven::platform::qt
