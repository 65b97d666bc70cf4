#include "app/files/whole_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/visible_text.h"

namespace toven {

namespace {

using platform::Refusal;

// A file the system gives no size for (as /proc does) is read in steps growing from this.
constexpr std::size_t first_read = 64 * 1024;

// Why the open file is none to read whole; `size` receives its size as the system tells it.
std::optional<Refusal> kind_refusal(int fd, const std::string& path, const FileLimit& limit,
                                    std::size_t& size) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return file_refusal(path, std::strerror(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return file_refusal(path, "it is a directory");
    }
    if (!S_ISREG(info.st_mode)) {
        return file_refusal(path, "it is a device, a FIFO or another special file");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > limit.bytes) {
        return file_refusal(path, limit.too_large);
    }
    size = static_cast<std::size_t>(info.st_size);
    return std::nullopt;
}

// Reads to the end of the file straight into `bytes`, sized for the file plus one byte, so
// that the end of a file as large as the system said is found without growing the buffer.
std::optional<Refusal> read_to_end(int fd, const std::string& path, const FileLimit& limit,
                                   std::size_t size, std::string& bytes) {
    bytes.resize(std::min(limit.bytes, std::max(size, first_read)) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > limit.bytes) {
                return file_refusal(path, limit.too_large);
            }
            bytes.resize(std::min(limit.bytes + 1, 2 * done));
        }
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return file_refusal(path, std::strerror(errno));
        }
        if (got == 0) {
            bytes.resize(done);
            return std::nullopt;
        }
        done += static_cast<std::size_t>(got);
    }
}

}  // namespace

Refusal file_refusal(const std::string& path, const std::string& reason) {
    return Refusal{"Cannot read " + platform::quoted_path(path) + ": " + reason + "."};
}

std::optional<Refusal> read_whole_file(const std::string& path, const FileLimit& limit,
                                       std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return file_refusal(path, std::strerror(errno));
    }
    std::size_t size = 0;
    std::optional<Refusal> refusal = kind_refusal(fd, path, limit, size);
    if (!refusal) {
        refusal = read_to_end(fd, path, limit, size, bytes);
    }
    ::close(fd);
    if (refusal) {
        std::string().swap(bytes);
    }
    return refusal;
}

}  // namespace toven
