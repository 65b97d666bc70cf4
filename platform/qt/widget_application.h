// The Qt application of a session that shows widgets. The program part that only paints
// pictures links a version without widgets, so that Qt's widget library is never loaded there.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace toven::platform::qt {

// A QApplication on these arguments, which Qt keeps referring to while it lives.
std::unique_ptr<QGuiApplication> make_widget_application(int& argc, char** argv);

}  // namespace toven::platform::qt
