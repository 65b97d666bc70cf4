#include <QApplication>
#include <QGuiApplication>
#include <clocale>
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

QtMessageHandler qt_default_handler = nullptr;

// Without a desktop session there is no XDG_RUNTIME_DIR, and Qt says so on every start; a
// script's standard error is for the program's own messages.
void drop_runtime_dir_notice(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: "))) {
        return;
    }
    qt_default_handler(type, context, message);
}

}  // namespace

Session::Session(int& argc, char** argv, SessionKind kind) : state_(std::make_unique<State>()) {
    if (kind != SessionKind::interactive) {
        qt_default_handler = qInstallMessageHandler(drop_runtime_dir_notice);
    }
    switch (kind) {
        case SessionKind::interactive:
            state_->application = std::make_unique<QApplication>(argc, argv);
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
