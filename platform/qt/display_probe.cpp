#include "platform/qt/display_probe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace toven::platform::qt {

namespace {

// X11 servers listen on TCP port 6000 + display number.
constexpr int x11_tcp_base_port = 6000;

bool connects(int domain, const sockaddr* address, socklen_t length) {
    const int fd = ::socket(domain, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool connected = ::connect(fd, address, length) == 0;
    ::close(fd);
    return connected;
}

// A local server is found by its socket file alone. Connecting to it would make this probe a
// client, and an X server that resets when its last client leaves (Xvfb) may then still be
// resetting when the real connection comes.
bool unix_socket_exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

// Linux's abstract socket namespace, where X servers in containers may listen without a
// socket file. Asked only where the file is missing, so the reset above cannot follow a
// probe of an ordinary server.
bool abstract_socket_answers(const std::string& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() + 1 >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length);
}

bool local_tcp_port_answers(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connects(AF_INET, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

// DISPLAY = [host]":"number["." screen]
bool x11_display_answers() {
    const char* display = environment("DISPLAY");
    if (display == nullptr) {
        return false;
    }
    const std::string text(display);
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon + 1 >= text.size()) {
        return false;
    }
    const std::string host = text.substr(0, colon);
    const int number = std::atoi(text.c_str() + colon + 1);
    if (host.empty() || host == "unix") {
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        return unix_socket_exists(path) || abstract_socket_answers(path);
    }
    if (host == "localhost" || host == "127.0.0.1") {
        return local_tcp_port_answers(x11_tcp_base_port + number);
    }
    // A remote server is not probed: a connection attempt could wait for a network timeout.
    return true;
}

bool wayland_display_answers() {
    const char* name = environment("WAYLAND_DISPLAY");
    if (name == nullptr) {
        return false;
    }
    if (name[0] == '/') {
        return unix_socket_exists(name);
    }
    const char* runtime = environment("XDG_RUNTIME_DIR");
    return runtime != nullptr && unix_socket_exists(std::string(runtime) + "/" + name);
}

}  // namespace toven::platform::qt
