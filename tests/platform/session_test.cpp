// Whether a display is there: the environment names one, and something answers there. And
// the locale that a session leaves the process in, whatever the environment gave.
#include <gtest/gtest.h>
#include <langinfo.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/application.h"
#include "tests/support/test_files.h"

namespace toven::platform {
namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// A listening Unix socket in a folder of its own, as a display server would have.
class ListeningSocket {
  public:
    ListeningSocket() : path_(folder_.file("display")) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
        listening_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     ::listen(fd_, 1) == 0;
    }
    ~ListeningSocket() { ::close(fd_); }
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;
    const std::string& path() const { return path_; }
    bool listening() const { return listening_; }

  private:
    test_support::TempFolder folder_{"toven-display"};
    std::string path_;
    int fd_;
    bool listening_ = false;
};

TEST(DisplayAvailable, NotWithoutDisplayVariables) {
    ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
    ScopedVariable display("DISPLAY", nullptr);
    ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_FALSE(Session::display_available());
}

TEST(DisplayAvailable, NotWhereNothingAnswers) {
    ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
    ScopedVariable display("DISPLAY", ":4711");
    ScopedVariable wayland("WAYLAND_DISPLAY", "/nonexistent/toven-wayland-0");
    EXPECT_FALSE(Session::display_available());
}

TEST(DisplayAvailable, NotForAMalformedDisplay) {
    ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
    ScopedVariable display("DISPLAY", "no-colon-here");
    ScopedVariable wayland("WAYLAND_DISPLAY", "");
    EXPECT_FALSE(Session::display_available());
}

TEST(DisplayAvailable, WhereAServerListens) {
    ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
    ListeningSocket server;
    ASSERT_TRUE(server.listening());
    ScopedVariable display("DISPLAY", nullptr);
    ScopedVariable wayland("WAYLAND_DISPLAY", server.path().c_str());
    EXPECT_TRUE(Session::display_available());
}

TEST(DisplayAvailable, WhereTheEnvironmentNamesAPlatformThatNeedsNone) {
    ScopedVariable platform("QT_QPA_PLATFORM", "vnc");
    ScopedVariable display("DISPLAY", nullptr);
    ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_TRUE(Session::display_available());
}

// CTest runs this test also in bare environments with LANG=C and LC_ALL=C, where Qt would find
// a character type that is not UTF-8 and say so on standard error.
TEST(SessionLocale, CharacterTypeIsUtf8AndNumbersUseThePoint) {
    EXPECT_STREQ(nl_langinfo(CODESET), "UTF-8");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

}  // namespace
}  // namespace toven::platform
