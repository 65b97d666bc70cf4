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
#include <fstream>
#include <sstream>
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

bool unix_socket_exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

bool connects_to_unix_socket(const std::string& name, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (name.size() + offset + 1 > sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path + offset, name.data(), name.size());
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + name.size());
    return connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length);
}

// The kernel's table of this network namespace's Unix sockets: "Num RefCount Protocol Flags
// Type St Inode Path" a line, abstract names with a leading "@", and the flag 0x10000
// (accepting connections) on a socket that listens.
enum class Listed { listening, not_listening, unknown };
constexpr const char* unix_socket_table = "/proc/net/unix";
constexpr unsigned long accepting_connections = 0x10000;

Listed listed_in_socket_table(const std::string& path) {
    std::ifstream table(unix_socket_table);
    if (!table) {
        return Listed::unknown;
    }
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, references, protocol, flags, type, state, inode, name;
        if (!(fields >> slot >> references >> protocol >> flags >> type >> state >> inode >>
              name)) {
            continue;
        }
        if ((name == path || name == "@" + path) &&
            (std::strtoul(flags.c_str(), nullptr, 16) & accepting_connections) != 0) {
            return Listed::listening;
        }
    }
    return Listed::not_listening;
}

// A local server is found in the kernel's socket table, without connecting: a connection
// would make this probe a client, and an X server that resets when its last client leaves
// (Xvfb) may then still be resetting when the real connection comes. Only a socket that the
// table does not show listening is connected to: a file left by a server that died (stale)
// refuses at once, and a server in another network namespace that shares the socket folder
// answers.
bool local_x11_server_listens(const std::string& path) {
    if (listed_in_socket_table(path) == Listed::listening) {
        return true;
    }
    if (unix_socket_exists(path)) {
        return connects_to_unix_socket(path, false);
    }
    return connects_to_unix_socket(path, true);
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
bool x11_display_answers(std::string_view display, const std::string& socket_folder) {
    const std::size_t colon = display.rfind(':');
    if (colon == std::string_view::npos || colon + 1 >= display.size()) {
        return false;
    }
    const std::string host(display.substr(0, colon));
    const int number = std::atoi(std::string(display.substr(colon + 1)).c_str());
    if (host.empty() || host == "unix") {
        return local_x11_server_listens(socket_folder + "/X" + std::to_string(number));
    }
    if (host == "localhost" || host == "127.0.0.1") {
        return local_tcp_port_answers(x11_tcp_base_port + number);
    }
    // A remote server is not probed: a connection attempt could wait for a network timeout.
    return true;
}

bool x11_display_answers() {
    const char* display = environment("DISPLAY");
    return display != nullptr && x11_display_answers(display, x11_socket_folder);
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
