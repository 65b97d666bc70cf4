#include <QApplication>
#include <QGuiApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/qt/display_probe.h"

namespace toven::platform {

// Qt keeps references to the argument count and vector for the application's lifetime, so
// the arguments given to a forced platform live here.
struct Session::State {
    std::vector<std::string> arguments;
    std::vector<char*> argument_pointers;
    int argument_count = 0;
    std::unique_ptr<QGuiApplication> application;

    // The program's name and "-platform offscreen": no display is looked for, whatever the
    // environment says. The caller's own arguments are not Qt's to read.
    void force_offscreen(const char* program) {
        arguments = {program != nullptr ? program : "toven", "-platform", "offscreen"};
        for (std::string& argument : arguments) {
            argument_pointers.push_back(argument.data());
        }
        argument_pointers.push_back(nullptr);
        argument_count = static_cast<int>(arguments.size());
    }
};

namespace {

// What the message handlers below need: Qt's own handler, and while an interactive session
// starts, the program's words for a display that cannot be opened.
struct MessageFilter {
    QtMessageHandler qt_handler = nullptr;
    std::string no_display;
};
MessageFilter message_filter;

// The status of a process that found no display to open.
constexpr int no_display_status = 1;

// Without a desktop session there is no XDG_RUNTIME_DIR, and Qt says so on every start; a
// script's standard error is for the program's own messages.
void drop_runtime_dir_notice(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: "))) {
        return;
    }
    message_filter.qt_handler(type, context, message);
}

// Qt ends the process when its window-system plugin cannot start (no server at the address,
// a screen the server does not have, a refused connection) and blames the installation. The
// user hears in the program's words that no display could be opened, and the process ends
// with its own status; nothing has been shown yet, so nothing is left to close.
void stop_without_display(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(message_filter.no_display.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(no_display_status);
    }
    // The plugin's and its loader's own account of the failure, which the program's replaces.
    const bool plugin_failure =
        context.category != nullptr &&
        (std::strcmp(context.category, "qt.qpa.plugin") == 0 ||
         (std::strcmp(context.category, "qt.qpa.xcb") == 0 &&
          message.startsWith(QLatin1String("could not connect to display"))));
    if (plugin_failure) {
        return;
    }
    message_filter.qt_handler(type, context, message);
}

std::unique_ptr<QApplication> start_interactive(int& argc, char** argv,
                                                const std::string& no_display) {
    message_filter.no_display = no_display;
    message_filter.qt_handler = qInstallMessageHandler(stop_without_display);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(message_filter.qt_handler);
    return application;
}

}  // namespace

Session::Session(int& argc, char** argv, SessionKind kind, const std::string& no_display)
    : state_(std::make_unique<State>()) {
    if (kind != SessionKind::interactive) {
        message_filter.qt_handler = qInstallMessageHandler(drop_runtime_dir_notice);
    }
    switch (kind) {
        case SessionKind::interactive:
            state_->application = start_interactive(argc, argv, no_display);
            break;
        case SessionKind::test:
            state_->force_offscreen(argc > 0 ? argv[0] : nullptr);
            state_->application = std::make_unique<QApplication>(state_->argument_count,
                                                                 state_->argument_pointers.data());
            break;
        case SessionKind::headless:
            state_->force_offscreen(argc > 0 ? argv[0] : nullptr);
            state_->application = std::make_unique<QGuiApplication>(
                state_->argument_count, state_->argument_pointers.data());
            break;
    }
    // Creating the application set the whole process locale from the environment. Text keeps
    // the user's encoding, but every number the program writes or reads (the page, the
    // readout, the command line) keeps the decimal point and no digit grouping.
    std::setlocale(LC_NUMERIC, "C");
}

Session::~Session() = default;

// A window-system plugin that the environment names and that is neither X11 nor Wayland (vnc,
// eglfs, linuxfb, offscreen) needs no display address: it is taken at its word.
bool Session::display_available() {
    const QByteArray named = qgetenv("QT_QPA_PLATFORM");
    if (!named.isEmpty() && !named.startsWith("xcb") && !named.startsWith("wayland")) {
        return true;
    }
    return qt::x11_display_answers() || qt::wayland_display_answers();
}

}  // namespace toven::platform
