// A file written whole or not at all. The bytes go to a new file beside the target, which
// takes the target's place only once it is completely written and on the disk; until then,
// and after any failure, the target is as it was. The new file has no name until then, so
// nothing is left of it whatever ends the program; where the file system cannot make such
// files, a signal that ends the program removes it (save_signals.h). Failures come back as a
// Refusal for the person that names the file and the system's cause ("No space left on
// device").
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/refusal.h"
#include "platform/save_signals.h"

namespace toven::platform {

class SafeFile {
  public:
    // How the new file is made: without a name where the file system can, or always with one
    // (as where it cannot; for tests).
    enum class NewFile { unnamed_where_possible, named };

    // Nothing is touched before open(). `path` is the name the person gave; messages use it.
    explicit SafeFile(std::string path, NewFile new_file = NewFile::unnamed_where_possible);
    // A file never committed is removed; the target stays as it was.
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Opens the file to write. A symbolic link is followed to the file it names. A target
    // that is not a regular file (a directory, device, FIFO or socket) is refused and left
    // alone, and so is one that the shell's ">" could not write (a write-protected file of
    // one's own). A target with another owner or with more than one link is written in
    // place, since a new file would take away its owner or its other names, and so is one in
    // a folder that cannot take a new file: the bytes are gathered in a file of their own, and
    // the target is rewritten only once room for all of them is reserved. The message on
    // failure.
    std::optional<Refusal> open();

    // Appends bytes, only between an open() that succeeded and commit(). False once a write
    // has failed; the cause is kept for failure().
    bool write(const char* data, std::size_t size);

    // The message for the first failed write, if any.
    std::optional<Refusal> failure() const;

    // Writes out, syncs and closes the file and puts it in the target's place; called once,
    // after an open() that succeeded. The message on failure, after which a new file is
    // removed and the target is as it was.
    std::optional<Refusal> commit();

    // True when open() chose to write the target itself rather than a new file beside it.
    bool in_place() const { return in_place_; }

  private:
    std::optional<Refusal> open_new(const std::string& target, const struct stat* existing);
    int open_named(const std::string& directory);  // 0 or the errno
    std::optional<Refusal> open_in_place(const std::string& target);
    bool flush();
    // Each returns 0 or the errno of what failed.
    int put_in_place();
    int link_in_place();
    int copy_in_place();
    Refusal message(const std::string& cause) const;
    Refusal system_message(int error) const;
    void discard();

    std::string path_;
    std::string target_;     // the file the bytes are for, links followed
    std::string temporary_;  // the new file's name beside it, while it has one
    std::vector<char> buffer_;
    std::size_t written_ = 0;
    NewFile new_file_;
    std::optional<SaveSignals> signals_;  // from open() to the end
    int fd_ = -1;         // the new file, or the bytes gathered for an in-place write
    int target_fd_ = -1;  // the target, when written in place
    int error_ = 0;       // errno of the first failed write
    bool unnamed_ = false;
    bool in_place_ = false;
};

}  // namespace toven::platform
