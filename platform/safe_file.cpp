#include "platform/safe_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <unistd.h>

#include "platform/programmer_error.h"

namespace toven::platform {

namespace {

// Links followed before the chain is taken for a loop: the kernel's own limit.
constexpr int max_link_depth = 40;
// Bytes gathered before they go to the disk: fewer system calls for the many small pieces a
// PDF is made of, at the cost of this much memory while a file is written.
constexpr std::size_t buffer_size = 64 * 1024;
// Names tried for the new file before giving up; each clash means a name already taken.
constexpr int max_name_tries = 100;

std::string directory_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string kind_of(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO (named pipe)";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "a special file";
}

// Follows symbolic links from `path` to the file they end at, which need not exist yet.
// Returns 0, or the errno of what could not be followed.
int follow_links(std::string& path, struct stat& info, bool& exists) {
    for (int depth = 0; depth <= max_link_depth; ++depth) {
        if (::lstat(path.c_str(), &info) != 0) {
            exists = false;
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            return 0;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length < 0) {
            return errno;
        }
        if (static_cast<std::size_t>(length) == sizeof link) {
            return ENAMETOOLONG;
        }
        const std::string next(link, static_cast<std::size_t>(length));
        path = next.starts_with('/') ? next : directory_of(path) + "/" + next;
    }
    return ELOOP;
}

// The new file takes over the target's permissions and group along with its place.
bool take_attributes(int fd, const struct stat& existing) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        return false;
    }
    if (made.st_gid != existing.st_gid && ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid)) {
        return false;
    }
    return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

// Makes the rename itself durable. The file is already in place, so a failure here changes
// nothing the person could act on and is not reported.
void sync_directory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

SafeFile::SafeFile(std::string path) : path_(std::move(path)) {}

SafeFile::~SafeFile() {
    discard();
}

std::optional<Refusal> SafeFile::open() {
    std::string target = path_;
    struct stat existing {};
    bool exists = false;
    if (const int error = follow_links(target, existing, exists); error != 0) {
        return system_message(error);
    }
    target_ = target;
    if (!exists) {
        return open_new(target, nullptr);
    }
    if (!S_ISREG(existing.st_mode)) {
        return message("it is " + kind_of(existing.st_mode) + ", not a regular file");
    }
    if (existing.st_nlink > 1 || existing.st_uid != ::geteuid()) {
        return open_in_place(target);
    }
    return open_new(target, &existing);
}

std::optional<Refusal> SafeFile::open_new(const std::string& target, const struct stat* existing) {
    const std::string directory = directory_of(target);
    std::random_device random;
    for (int attempt = 0; attempt < max_name_tries; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "/.toven-%08x.tmp", random());
        temporary_ = directory + name;
        // 0666 lets the umask decide, as for any new file.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear();
        return system_message(error);
    }
    if (existing != nullptr && !take_attributes(fd_, *existing)) {
        // Only the target itself keeps a group we may not give away.
        discard();
        return open_in_place(target);
    }
    return std::nullopt;
}

std::optional<Refusal> SafeFile::open_in_place(const std::string& target) {
    // Not truncated yet: commit() cuts the file to what was written, so a failure before the
    // first byte reaches the disk leaves it as it was. O_NONBLOCK keeps a FIFO put in its
    // place meanwhile from holding us.
    fd_ = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        return system_message(errno);
    }
    struct stat opened {};
    if (::fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        const mode_t mode = opened.st_mode;
        discard();
        return message("it is " + kind_of(mode) + ", not a regular file");
    }
    in_place_ = true;
    return std::nullopt;
}

bool SafeFile::write(const char* data, std::size_t size) {
    TOVEN_EXPECT(fd_ >= 0 || error_ != 0, "a SafeFile is written between open() and commit()");
    if (error_ != 0) {
        return false;
    }
    buffer_.insert(buffer_.end(), data, data + size);
    return buffer_.size() < buffer_size || flush();
}

bool SafeFile::flush() {
    const char* at = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0 && error_ == 0) {
        const ssize_t count = ::write(fd_, at, left);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            error_ = count < 0 ? errno : EIO;
            break;
        }
        at += count;
        left -= static_cast<std::size_t>(count);
        written_ += static_cast<std::size_t>(count);
    }
    buffer_.clear();
    return error_ == 0;
}

std::optional<Refusal> SafeFile::failure() const {
    if (error_ == 0) {
        return std::nullopt;
    }
    return system_message(error_);
}

std::optional<Refusal> SafeFile::commit() {
    TOVEN_EXPECT(fd_ >= 0, "a SafeFile is committed once, after an open() that succeeded");
    flush();
    if (error_ == 0 && in_place_ && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) {
        error_ = errno;
    }
    if (error_ == 0 && ::fsync(fd_) != 0) {
        error_ = errno;
    }
    if (::close(fd_) != 0 && error_ == 0) {
        error_ = errno;
    }
    fd_ = -1;
    if (error_ == 0 && !in_place_ && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error_ = errno;
    }
    if (error_ != 0) {
        discard();
        return system_message(error_);
    }
    temporary_.clear();
    sync_directory(directory_of(target_));
    return std::nullopt;
}

Refusal SafeFile::message(const std::string& cause) const {
    return {"Cannot write \"" + path_ + "\": " + cause + "."};
}

Refusal SafeFile::system_message(int error) const {
    return message(std::strerror(error));
}

void SafeFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace toven::platform
