#include <QApplication>
#include <QEvent>

#include "platform/window_system.h"

namespace toven::platform {

namespace {

// A quit posted while no loop runs (before the loop starts, or in a test) waits here.
std::optional<int> posted_quit;

}  // namespace

int run_message_loop() {
    if (std::optional<int> code = take_posted_quit()) {
        return *code;
    }
    // Windows go only when their procedures destroy them, never because the last one closed.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const int code = QCoreApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents();
    posted_quit.reset();
    return code;
}

void post_quit_message(int exit_code) {
    posted_quit = exit_code;
    QCoreApplication::exit(exit_code);
}

std::optional<int> take_posted_quit() {
    std::optional<int> code = posted_quit;
    posted_quit.reset();
    return code;
}

}  // namespace toven::platform
