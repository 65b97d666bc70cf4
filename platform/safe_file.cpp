#include "platform/safe_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <unistd.h>

#include "platform/programmer_error.h"
#include "platform/visible_text.h"

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

// Whether open() with O_TMPFILE failed because the file system (or kernel) cannot make a
// file without a name, rather than for a cause the person should hear.
bool lacks_unnamed_files(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

std::string temporary_directory() {
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

// A new name in `directory` for a file of ours; one that is taken shows as EEXIST when used.
std::string new_name(const std::string& directory) {
    std::random_device random;
    char name[32];
    std::snprintf(name, sizeof name, "/.toven-%08x.tmp", random());
    return directory + name;
}

// Gives the open file without a name the name `path`: 0 or the errno.
int link_unnamed(int fd, const std::string& path) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, self, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) {
        return errno;
    }
    // Without /proc, the descriptor itself (which needs the right to reach any file).
    return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// A file without a name to gather bytes in, beside `directory`'s files or else in the
// temporary folder: the descriptor, or -1 with errno set.
int open_scratch(const std::string& directory) {
    for (const std::string& place : {directory, temporary_directory()}) {
        const int fd = ::open(place.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) {
            return fd;
        }
    }
    std::string name = temporary_directory() + "/.toven-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::unlink(name.c_str());
    }
    return fd;
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

SafeFile::SafeFile(std::string path, NewFile new_file)
    : path_(std::move(path)), new_file_(new_file) {}

SafeFile::~SafeFile() {
    discard();
    signals_.reset();
}

std::optional<Refusal> SafeFile::open() {
    std::string target = path_;
    struct stat existing {};
    bool exists = false;
    if (const int error = follow_links(target, existing, exists); error != 0) {
        return system_message(error);
    }
    target_ = target;
    signals_.emplace();
    if (!exists) {
        return open_new(target, nullptr);
    }
    if (!S_ISREG(existing.st_mode)) {
        return message("it is " + kind_of(existing.st_mode) + ", not a regular file");
    }
    // Refused where the shell's ">" is refused: write protection of one's own file stands,
    // although a new file could take its place.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return system_message(errno);
    }
    if (existing.st_nlink > 1 || existing.st_uid != ::geteuid()) {
        return open_in_place(target);
    }
    return open_new(target, &existing);
}

std::optional<Refusal> SafeFile::open_new(const std::string& target, const struct stat* existing) {
    const std::string directory = directory_of(target);
    int error = 0;
    if (new_file_ == NewFile::unnamed_where_possible) {
        // 0666 lets the umask decide, as for any new file.
        fd_ = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        error = fd_ < 0 ? errno : 0;
        unnamed_ = fd_ >= 0;
    }
    if (fd_ < 0 && (error == 0 || lacks_unnamed_files(error))) {
        error = open_named(directory);
    }
    if (fd_ < 0) {
        // A folder that may not be written to holds no new file, but a file in it that may be
        // written is rewritten where it is, as the shell's ">" rewrites it.
        if (existing != nullptr && (error == EACCES || error == EPERM)) {
            return open_in_place(target);
        }
        return system_message(error);
    }
    if (existing != nullptr && !take_attributes(fd_, *existing)) {
        // Only the target itself keeps a group we may not give away.
        discard();
        return open_in_place(target);
    }
    return std::nullopt;
}

int SafeFile::open_named(const std::string& directory) {
    for (int attempt = 0; attempt < max_name_tries; ++attempt) {
        temporary_ = new_name(directory);
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear();
        return error;
    }
    signals_->remove_on_signal(temporary_);
    return 0;
}

std::optional<Refusal> SafeFile::open_in_place(const std::string& target) {
    // Opened now, so that a target we may not write is refused before any work; not
    // truncated: commit() rewrites it. O_NONBLOCK keeps a FIFO put in its place meanwhile
    // from holding us.
    target_fd_ = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (target_fd_ < 0) {
        return system_message(errno);
    }
    struct stat opened {};
    if (::fstat(target_fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        const mode_t mode = opened.st_mode;
        discard();
        return message("it is " + kind_of(mode) + ", not a regular file");
    }
    in_place_ = true;
    fd_ = open_scratch(directory_of(target));
    if (fd_ < 0) {
        const int error = errno;
        discard();
        return system_message(error);
    }
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
    if (error_ == 0 && !in_place_ && ::fsync(fd_) != 0) {
        error_ = errno;
    }
    if (error_ == 0) {
        // A signal that asks the program to end waits until the file is whole in its place.
        HeldSignals held;
        error_ = put_in_place();
    }
    if (error_ != 0) {
        discard();
        return system_message(error_);
    }
    sync_directory(directory_of(target_));
    signals_.reset();
    return std::nullopt;
}

int SafeFile::put_in_place() {
    if (in_place_) {
        return copy_in_place();
    }
    if (unnamed_) {
        return link_in_place();
    }
    if (::close(fd_) != 0) {
        fd_ = -1;
        return errno;
    }
    fd_ = -1;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return errno;
    }
    signals_->remove_on_signal("");
    temporary_.clear();
    return 0;
}

int SafeFile::link_in_place() {
    // A target that does not exist takes the file's name at once; one that does is replaced
    // by a rename from a name beside it.
    int error = link_unnamed(fd_, target_);
    for (int attempt = 0; error == EEXIST && attempt < max_name_tries; ++attempt) {
        temporary_ = new_name(directory_of(target_));
        error = link_unnamed(fd_, temporary_);
        if (error == 0) {
            signals_->remove_on_signal(temporary_);
            if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
                return errno;
            }
        }
        if (error != EEXIST) {
            break;
        }
        temporary_.clear();
    }
    if (error != 0) {
        temporary_.clear();
        return error;
    }
    signals_->remove_on_signal("");
    temporary_.clear();
    if (::close(fd_) != 0) {
        fd_ = -1;
        return errno;
    }
    fd_ = -1;
    return 0;
}

int SafeFile::copy_in_place() {
    struct stat before {};
    if (::fstat(target_fd_, &before) != 0) {
        return errno;
    }
    // Room for the whole new picture first: when the disk is full, the old one stays as it
    // was. A file system that cannot reserve (glibc then writes the blocks itself) is
    // written without.
    const auto length = static_cast<off_t>(written_);
    if (length > 0) {
        if (const int error = ::posix_fallocate(target_fd_, 0, length);
            error != 0 && error != EOPNOTSUPP) {
            if (::ftruncate(target_fd_, before.st_size) != 0) {
                return errno;
            }
            return error;
        }
    }
    buffer_.resize(buffer_size);
    for (off_t at = 0; at < length;) {
        const ssize_t count = ::pread(fd_, buffer_.data(), buffer_.size(), at);
        if (count <= 0) {
            return count < 0 ? errno : EIO;
        }
        for (ssize_t done = 0; done < count;) {
            const ssize_t put = ::pwrite(target_fd_, buffer_.data() + done,
                                         static_cast<std::size_t>(count - done), at + done);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return put < 0 ? errno : EIO;
            }
            done += put;
        }
        at += count;
    }
    buffer_.clear();
    if (::ftruncate(target_fd_, length) != 0 || ::fsync(target_fd_) != 0) {
        return errno;
    }
    const int closed = ::close(target_fd_);
    target_fd_ = -1;
    return closed == 0 ? 0 : errno;
}

Refusal SafeFile::message(const std::string& cause) const {
    return {"Cannot write " + quoted_path(path_) + ": " + cause + "."};
}

Refusal SafeFile::system_message(int error) const {
    return message(std::strerror(error));
}

void SafeFile::discard() {
    for (int* fd : {&fd_, &target_fd_}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    if (signals_) {
        signals_->remove_on_signal("");
    }
}

}  // namespace toven::platform
