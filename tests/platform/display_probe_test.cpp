// Whether an X server listens at the display DISPLAY names: a socket file in the socket folder,
// a live one or one left behind by a server that died, and the forms DISPLAY takes.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/qt/display_probe.h"
#include "tests/support/test_files.h"

namespace toven::platform::qt {
namespace {

// A socket folder of its own in a temporary folder, with display sockets made in it.
class SocketFolder {
  public:
    SocketFolder() = default;
    ~SocketFolder() {
        for (int fd : open_) {
            ::close(fd);
        }
    }
    SocketFolder(const SocketFolder&) = delete;
    SocketFolder& operator=(const SocketFolder&) = delete;

    const std::string& path() const { return path_; }

    // A server listening at display `number`.
    bool listen_at(int number) {
        const int fd = bound_socket(number);
        open_.push_back(fd);
        return fd >= 0 && ::listen(fd, 1) == 0;
    }

    // The socket file a server leaves when it dies: bound, closed, never removed.
    bool leave_stale_socket_at(int number) {
        const int fd = bound_socket(number);
        if (fd < 0) {
            return false;
        }
        ::close(fd);
        return std::filesystem::is_socket(path_ + "/X" + std::to_string(number));
    }

  private:
    int bound_socket(int number) const {
        const std::string file = path_ + "/X" + std::to_string(number);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (file.size() + 1 > sizeof address.sun_path) {
            return -1;
        }
        std::strncpy(address.sun_path, file.c_str(), sizeof address.sun_path - 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    test_support::TempFolder folder_{"toven-x11"};
    std::string path_ = folder_.path().string();
    std::vector<int> open_;
};

TEST(X11DisplayProbe, AnswersOnlyWhereAServerListens) {
    SocketFolder folder;
    ASSERT_FALSE(folder.path().empty());
    ASSERT_TRUE(folder.listen_at(3));
    ASSERT_TRUE(folder.leave_stale_socket_at(4));
    struct Case {
        const char* name;
        const char* display;
        bool answers;
    } cases[] = {
        {"a listening server", ":3", true},
        {"its first screen", ":3.0", true},
        {"a screen the probe cannot judge, left to the session", ":3.5", true},
        {"the unix host", "unix:3", true},
        {"a socket left by a server that died", ":4", false},
        {"the same with a screen", ":4.0", false},
        {"no socket at all", ":5", false},
        {"no number", ":", false},
        {"no colon", "3", false},
        {"nothing", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(x11_display_answers(c.display, folder.path()), c.answers) << c.name;
    }
}

}  // namespace
}  // namespace toven::platform::qt
