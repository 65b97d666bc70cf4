// The picture part of the program has no widgets: it opens only headless sessions.
#include "platform/qt/widget_application.h"
#include "platform/programmer_error.h"

namespace toven::platform::qt {

std::unique_ptr<QGuiApplication> make_widget_application(int&, char**) {
    TOVEN_EXPECT(false, "the picture part opens only headless sessions");
    return nullptr;
}

}  // namespace toven::platform::qt
