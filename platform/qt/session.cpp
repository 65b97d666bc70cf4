#include <langinfo.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QRegularExpression>

#include <array>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/program_module.h"
#include "platform/qt/display_probe.h"
#include "platform/qt/widget_application.h"

namespace toven::platform {

// Qt keeps references to the argument count and vector for the application's lifetime, so
// the arguments given to a forced platform live here.
struct Session::State {
    std::vector<std::string> arguments;
    std::vector<char*> argument_pointers;
    int argument_count = 0;
    std::unique_ptr<QGuiApplication> application;
    // The folder that Qt makes in place of a missing XDG_RUNTIME_DIR, when this session's start
    // made it: it is removed with the session if it is still empty.
    std::string made_runtime_folder;

    ~State() {
        application.reset();
        if (!made_runtime_folder.empty()) {
            ::rmdir(made_runtime_folder.c_str());
        }
    }

    // The program's name and "-platform offscreen": no display is looked for, whatever the
    // environment says. The caller's own arguments are not Qt's to read.
    void force_offscreen(const char* program, const std::vector<std::string>& more = {}) {
        arguments = {program != nullptr ? program : "toven", "-platform", "offscreen"};
        arguments.insert(arguments.end(), more.begin(), more.end());
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
    // The platform plugin that the environment named and Qt did not find, if it said so.
    QString missing_platform;
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

// A platform named in QT_QPA_PLATFORM that this Qt does not have is not a display that failed
// to open: the message names it and the ones there are, which Qt's last word lists.
std::string no_such_platform(const QString& qt_message) {
    const QString marker = QStringLiteral("Available platform plugins are: ");
    const qsizetype list = qt_message.indexOf(marker);
    QString available = list < 0 ? QString() : qt_message.mid(list + marker.size()).trimmed();
    if (available.endsWith(QLatin1Char('.'))) {
        available.chop(1);
    }
    return "toven: Qt has no window-system platform \"" +
           message_filter.missing_platform.toStdString() + "\" (named by QT_QPA_PLATFORM)" +
           (available.isEmpty() ? std::string() : "; it has: " + available.toStdString()) + ".\n";
}

// Qt ends the process when its window-system plugin cannot start (no server at the address,
// a screen the server does not have, a refused connection) and blames the installation. The
// user hears in the program's words that no display could be opened, and the process ends
// with its own status; nothing has been shown yet, so nothing is left to close.
void stop_without_display(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtFatalMsg) {
        const std::string said = message_filter.missing_platform.isEmpty()
                                     ? message_filter.no_display
                                     : no_such_platform(message);
        std::fputs(said.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(no_display_status);
    }
    static const QRegularExpression not_found(
        QStringLiteral("^Could not find the Qt platform plugin \"([^\"]*)\""));
    if (const QRegularExpressionMatch match = not_found.match(message); match.hasMatch()) {
        message_filter.missing_platform = match.captured(1);
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

// The locale categories that LC_ALL stands for, besides the character type.
constexpr std::array other_categories{
    "LC_COLLATE",     "LC_MESSAGES",       "LC_MONETARY", "LC_NUMERIC", "LC_TIME",     "LC_ADDRESS",
    "LC_MEASUREMENT", "LC_IDENTIFICATION", "LC_NAME",     "LC_PAPER",   "LC_TELEPHONE"};

bool is_utf8(const char* codeset) {
    return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0;
}

// Qt depends on a UTF-8 character type, and where the environment gives another one (the "C"
// locale of scripts, cron and CI) it picks one itself and says so on standard error. The same
// choice is made here, before Qt starts, and written into the environment that Qt reads: the
// given locale in UTF-8, else C.UTF-8. Only the character type changes; a LC_ALL is spread
// over the other categories so that each keeps the value it had.
void choose_utf8_character_type() {
    std::setlocale(LC_ALL, "");
    if (is_utf8(nl_langinfo(CODESET))) {
        return;
    }
    std::string given = std::setlocale(LC_CTYPE, nullptr);
    given = given.substr(0, given.find_first_of(".@"));
    std::string chosen;
    for (const std::string& candidate : {given + ".UTF-8", std::string("C.UTF-8")}) {
        if (std::setlocale(LC_CTYPE, candidate.c_str()) != nullptr) {
            chosen = candidate;
            break;
        }
    }
    if (chosen.empty()) {
        return;
    }
    const char* all = std::getenv("LC_ALL");
    if (all != nullptr && *all != '\0') {
        const std::string value = all;
        for (const char* category : other_categories) {
            setenv(category, value.c_str(), 1);
        }
        unsetenv("LC_ALL");
    }
    setenv("LC_CTYPE", chosen.c_str(), 1);
}

// Qt's folder of platform plugins; a folder of the program's own that holds the offscreen
// plugin alone comes first, so that Qt does not open every plugin to read its name.
std::string platform_plugin_folder() {
    const std::string own = module_folder() + "/platforms";
    struct stat info {};
    if (stat((own + "/libqoffscreen.so").c_str(), &info) == 0) {
        return own;
    }
    return QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/platforms";
}

// Where Qt puts the user's runtime folder when XDG_RUNTIME_DIR is not set, if it is not there
// yet: Qt's start makes it there, while looking for a display server's socket, and leaves it.
std::string runtime_folder_to_make() {
    const char* given = std::getenv("XDG_RUNTIME_DIR");
    if (given != nullptr && *given != '\0') {
        return {};
    }
    const passwd* user = ::getpwuid(::geteuid());
    const std::string name =
        user != nullptr ? std::string(user->pw_name) : std::to_string(::geteuid());
    const std::string folder = QDir::tempPath().toStdString() + "/runtime-" + name;
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 ? std::string() : folder;
}

std::unique_ptr<QGuiApplication> start_interactive(int& argc, char** argv,
                                                   const std::string& no_display) {
    message_filter.no_display = no_display;
    message_filter.qt_handler = qInstallMessageHandler(stop_without_display);
    auto application = qt::make_widget_application(argc, argv);
    qInstallMessageHandler(message_filter.qt_handler);
    return application;
}

}  // namespace

Session::Session(int& argc, char** argv, SessionKind kind, const std::string& no_display)
    : state_(std::make_unique<State>()) {
    choose_utf8_character_type();
    if (kind != SessionKind::interactive) {
        message_filter.qt_handler = qInstallMessageHandler(drop_runtime_dir_notice);
        // A run without a display leaves nothing behind, and needs no runtime folder.
        state_->made_runtime_folder = runtime_folder_to_make();
    }
    switch (kind) {
        case SessionKind::interactive:
            state_->application = start_interactive(argc, argv, no_display);
            break;
        case SessionKind::test:
            state_->force_offscreen(argc > 0 ? argv[0] : nullptr);
            state_->application = qt::make_widget_application(state_->argument_count,
                                                              state_->argument_pointers.data());
            break;
        case SessionKind::headless:
            // A picture needs no plugin but the offscreen platform: PNG is Qt's own, yet Qt
            // loads every image-format plugin to ask whether one would rather write it, and
            // reads every platform plugin to find the one named. Each costs start-up time.
            QCoreApplication::setLibraryPaths({});
            state_->force_offscreen(argc > 0 ? argv[0] : nullptr,
                                    {"-platformpluginpath", platform_plugin_folder()});
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

bool Session::watched() const {
    const QString name = QGuiApplication::platformName();
    return name != "offscreen" && name != "minimal";
}

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
