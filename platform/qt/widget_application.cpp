#include "platform/qt/widget_application.h"

#include <QApplication>

namespace toven::platform::qt {

std::unique_ptr<QGuiApplication> make_widget_application(int& argc, char** argv) {
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace toven::platform::qt
