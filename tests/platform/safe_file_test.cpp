// Saving a file whole or not at all: full disks, special files, links and shared files.
#include "platform/safe_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/test_files.h"

namespace toven::platform::testing {
namespace {

namespace fs = std::filesystem;

constexpr uid_t nobody = 65534;

using test_support::read_file;

void put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct stat status_of(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// The refusal's message, if the file was refused.
std::optional<std::string> save(const fs::path& path, const std::string& text) {
    SafeFile file(path.string());
    if (auto refusal = file.open()) {
        return refusal->message;
    }
    file.write(text.data(), text.size());
    if (auto refusal = file.commit()) {
        return refusal->message;
    }
    return std::nullopt;
}

// Runs `body` in a child process, with writes limited to `file_limit` bytes (SIGXFSZ
// ignored, so a write past it fails with EFBIG) and, when `as_nobody`, without root's
// rights. Returns the message `body` returned, or "" when it returned none.
std::string in_child(const std::function<std::optional<std::string>()>& body,
                     rlim_t file_limit = RLIM_INFINITY, bool as_nobody = false) {
    int pipe_ends[2];
    EXPECT_EQ(::pipe(pipe_ends), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_ends[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{file_limit, file_limit};
        bool ready = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        if (as_nobody && ::geteuid() == 0) {
            ready = ready && ::setgid(nobody) == 0 && ::setuid(nobody) == 0;
        }
        const std::string message = ready ? body().value_or("") : "child not ready";
        const bool sent = ::write(pipe_ends[1], message.data(), message.size()) ==
                          static_cast<ssize_t>(message.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipe_ends[1]);
    std::string message;
    char buffer[512];
    for (ssize_t count; (count = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
        message.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return message;
}

class SafeFileTest : public ::testing::Test {
  protected:
    // Everything in the folder: no new file is left behind beside the target.
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
    }

    test_support::TempFolder folder{"toven-safe"};
    const fs::path directory = folder.path();
};

TEST_F(SafeFileTest, NewFileIsWrittenWithTheUmasksPermissions) {
    const mode_t mask = ::umask(022);
    EXPECT_EQ(save(directory / "new.png", "picture"), std::nullopt);
    ::umask(mask);
    EXPECT_EQ(read_file(directory / "new.png"), "picture");
    EXPECT_EQ(status_of(directory / "new.png").st_mode & 07777, 0644u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SafeFileTest, ExistingFileIsReplacedWithItsPermissions) {
    put(directory / "old.png", "an older and longer picture");
    fs::permissions(directory / "old.png", fs::perms(0640));
    EXPECT_EQ(save(directory / "old.png", "new"), std::nullopt);
    EXPECT_EQ(read_file(directory / "old.png"), "new");
    EXPECT_EQ(status_of(directory / "old.png").st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SafeFileTest, AnAbandonedFileLeavesTheTargetAlone) {
    put(directory / "old.png", "good");
    {
        SafeFile file((directory / "old.png").string());
        ASSERT_EQ(file.open(), std::nullopt);
        file.write("half", 4);
    }
    EXPECT_EQ(read_file(directory / "old.png"), "good");
    EXPECT_EQ(entries(), 1u);
}

// A disk that fills up: the write fails, the message names the file and the system's cause,
// the old file is untouched and the new one is gone.
TEST_F(SafeFileTest, FullDiskKeepsTheOldFile) {
    const fs::path target = directory / "plot.svg";
    const std::string good(4096, 'g');
    put(target, good);
    const std::string message =
        in_child([&] { return save(target, std::string(200000, 'n')); }, 1000);
    EXPECT_EQ(message, "Cannot write \"" + target.string() + "\": File too large.");
    EXPECT_EQ(read_file(target), good);
    EXPECT_EQ(entries(), 1u);
}

struct SpecialTarget {
    const char* name;
    // Makes the target in the folder and returns its path.
    std::function<fs::path(const fs::path&)> make;
    const char* kind;
    // What must still hold afterwards.
    std::function<bool(const fs::path&)> intact;
};

void PrintTo(const SpecialTarget& target, std::ostream* out) {
    *out << target.name;
}

fs::path fifo_in(const fs::path& directory) {
    const fs::path fifo = directory / "fifo";
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    return fifo;
}

bool fifo_at(const fs::path& path) {
    return fs::is_fifo(fs::symlink_status(path));
}

const SpecialTarget special_targets[] = {
    {"fifo", fifo_in, "a FIFO (named pipe)", fifo_at},
    {"link_to_fifo",
     [](const fs::path& directory) {
         fifo_in(directory);
         fs::create_symlink("fifo", directory / "link.png");
         return directory / "link.png";
     },
     "a FIFO (named pipe)",
     [](const fs::path& link) {
         return fs::is_symlink(link) && fifo_at(link.parent_path() / "fifo");
     }},
    {"link_to_a_device",
     [](const fs::path& directory) {
         fs::create_symlink("/dev/null", directory / "null.png");
         return directory / "null.png";
     },
     "a device",
     [](const fs::path& link) {
         return fs::is_symlink(link) && fs::is_character_file(fs::symlink_status("/dev/null"));
     }},
    {"directory",
     [](const fs::path& directory) {
         fs::create_directory(directory / "folder.png");
         return directory / "folder.png";
     },
     "a directory", [](const fs::path& path) { return fs::is_empty(path); }},
    {"socket",
     [](const fs::path& directory) {
         const fs::path path = directory / "socket.png";
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         path.string().copy(address.sun_path, sizeof address.sun_path - 1);
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
         ::close(fd);
         return path;
     },
     "a socket", [](const fs::path& path) { return fs::is_socket(fs::symlink_status(path)); }},
};

class SpecialTargets : public SafeFileTest, public ::testing::WithParamInterface<SpecialTarget> {};

TEST_P(SpecialTargets, AreRefusedAndLeftAlone) {
    const fs::path target = GetParam().make(directory);
    const std::size_t before = entries();
    SafeFile file(target.string());
    EXPECT_EQ(file.open(), Refusal{"Cannot write \"" + target.string() + "\": it is " +
                                   GetParam().kind + ", not a regular file."});
    EXPECT_TRUE(GetParam().intact(target));
    EXPECT_EQ(entries(), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialTargets, ::testing::ValuesIn(special_targets),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(SafeFileTest, LinksAreFollowedToTheFileTheyName) {
    fs::create_directory(directory / "pictures");
    put(directory / "pictures" / "plot.png", "old");
    fs::create_symlink("pictures/plot.png", directory / "relative.png");
    fs::create_symlink(directory / "relative.png", directory / "chain.png");
    EXPECT_EQ(save(directory / "chain.png", "new"), std::nullopt);
    EXPECT_EQ(read_file(directory / "pictures" / "plot.png"), "new");
    EXPECT_TRUE(fs::is_symlink(directory / "chain.png"));
    EXPECT_TRUE(fs::is_symlink(directory / "relative.png"));
    EXPECT_EQ(
        std::distance(fs::directory_iterator(directory / "pictures"), fs::directory_iterator()), 1);
}

TEST_F(SafeFileTest, DanglingLinkCreatesTheFileItNames) {
    fs::create_symlink("made.png", directory / "link.png");
    EXPECT_EQ(save(directory / "link.png", "new"), std::nullopt);
    EXPECT_EQ(read_file(directory / "made.png"), "new");
    EXPECT_TRUE(fs::is_symlink(directory / "link.png"));
}

TEST_F(SafeFileTest, LinkLoopIsRefused) {
    fs::create_symlink("b.png", directory / "a.png");
    fs::create_symlink("a.png", directory / "b.png");
    const auto message = save(directory / "a.png", "new");
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("Too many levels of symbolic links"), std::string::npos) << *message;
}

TEST_F(SafeFileTest, HardLinkedFileIsWrittenInPlace) {
    put(directory / "plot.png", "an older and longer picture");
    fs::create_hard_link(directory / "plot.png", directory / "other.png");
    const ino_t inode = status_of(directory / "plot.png").st_ino;
    SafeFile file((directory / "plot.png").string());
    ASSERT_EQ(file.open(), std::nullopt);
    EXPECT_TRUE(file.in_place());
    file.write("new", 3);
    EXPECT_EQ(file.commit(), std::nullopt);
    EXPECT_EQ(read_file(directory / "other.png"), "new");
    EXPECT_EQ(status_of(directory / "plot.png").st_ino, inode);
    EXPECT_EQ(status_of(directory / "plot.png").st_nlink, 2u);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(SafeFileTest, InPlaceWriteErrorsAreReportedAndKeepTheOldFile) {
    const fs::path target = directory / "plot.pdf";
    put(target, "old");
    fs::create_hard_link(target, directory / "other.pdf");
    const std::string message =
        in_child([&] { return save(target, std::string(200000, 'n')); }, 1000);
    EXPECT_EQ(message, "Cannot write \"" + target.string() + "\": File too large.");
    EXPECT_EQ(read_file(target), "old");
}

// The new picture is whole, but the disk has no room for it where the old one is: the old
// one is kept byte for byte.
TEST_F(SafeFileTest, InPlaceWriteWithoutRoomKeepsTheOldFile) {
    const fs::path target = directory / "plot.png";
    const std::string old(4096, 'o');
    put(target, old);
    fs::create_hard_link(target, directory / "other.png");
    const std::string message = in_child([&]() -> std::optional<std::string> {
        SafeFile file(target.string());
        if (auto refusal = file.open()) {
            return refusal->message;
        }
        file.write(std::string(200000, 'n').data(), 200000);
        const rlimit limit{8192, 8192};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return file.commit().value_or(Refusal{"committed"}).message;
    });
    EXPECT_EQ(message, "Cannot write \"" + target.string() + "\": File too large.");
    EXPECT_EQ(read_file(target), old);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(SafeFileTest, AnotherOwnersFileKeepsItsOwner) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another owner";
    }
    put(directory / "theirs.png", "old");
    ASSERT_EQ(::chown((directory / "theirs.png").c_str(), nobody, nobody), 0);
    EXPECT_EQ(save(directory / "theirs.png", "new"), std::nullopt);
    EXPECT_EQ(read_file(directory / "theirs.png"), "new");
    EXPECT_EQ(status_of(directory / "theirs.png").st_uid, nobody);
    EXPECT_EQ(status_of(directory / "theirs.png").st_gid, nobody);
}

TEST_F(SafeFileTest, FolderWithoutWriteRightsIsRefused) {
    fs::permissions(directory, fs::perms(0755));
    fs::create_directory(directory / "locked");
    fs::permissions(directory / "locked", fs::perms(0555));
    const fs::path target = directory / "locked" / "plot.png";
    const std::string message = in_child([&] { return save(target, "new"); }, RLIM_INFINITY, true);
    EXPECT_EQ(message, "Cannot write \"" + target.string() + "\": Permission denied.");
    EXPECT_TRUE(fs::is_empty(directory / "locked"));
}

// A write-protected file of one's own is refused, as the shell's ">" refuses it. Root may
// write it, as with ">"; so as root the refusal is checked as the owner, another user.
TEST_F(SafeFileTest, WriteProtectedFileIsRefusedAsByTheShell) {
    const bool root = ::geteuid() == 0;
    const fs::path own = directory / "own";
    fs::create_directory(own);
    const fs::path target = own / "q.png";
    put(target, "old");
    fs::permissions(target, fs::perms(0444));
    if (root) {
        fs::permissions(directory, fs::perms(0755));
        ASSERT_EQ(::chown(own.c_str(), nobody, nobody), 0);
        ASSERT_EQ(::chown(target.c_str(), nobody, nobody), 0);
    }
    const std::string message = in_child([&] { return save(target, "new"); }, RLIM_INFINITY, true);
    EXPECT_EQ(message, "Cannot write \"" + target.string() + "\": Permission denied.");
    EXPECT_EQ(read_file(target), "old");
    if (root) {
        EXPECT_EQ(save(target, "new"), std::nullopt);
        EXPECT_EQ(read_file(target), "new");
    }
}

// The owner of a file that may be written rewrites it in a folder that takes no new file, as
// the shell's ">" does. Root may write in any folder, so as root the folder and the file
// belong to another user, who saves.
TEST_F(SafeFileTest, OwnFileInAReadOnlyFolderIsRewrittenInPlace) {
    const fs::path own = directory / "own";
    fs::create_directory(own);
    const fs::path target = own / "plot.png";
    put(target, "an older and longer picture");
    if (::geteuid() == 0) {
        fs::permissions(directory, fs::perms(0755));
        ASSERT_EQ(::chown(own.c_str(), nobody, nobody), 0);
        ASSERT_EQ(::chown(target.c_str(), nobody, nobody), 0);
    }
    fs::permissions(own, fs::perms(0555));
    // The new bytes are gathered in the temporary directory first, which the child may write.
    const fs::path scratch = directory / "scratch";
    fs::create_directory(scratch);
    fs::permissions(scratch, fs::perms(01777));
    const ino_t inode = status_of(target).st_ino;
    const auto save_in_place = [&] {
        ::setenv("TMPDIR", scratch.c_str(), 1);
        return save(target, "new");
    };
    EXPECT_EQ(in_child(save_in_place, RLIM_INFINITY, true), "");
    fs::permissions(own, fs::perms(0755));
    EXPECT_EQ(read_file(target), "new");
    EXPECT_EQ(status_of(target).st_ino, inode);
    EXPECT_EQ(std::distance(fs::directory_iterator(own), fs::directory_iterator()), 1);
}

// A signal that ends the program while a file is saved leaves nothing of the new file, and
// the program ends with status 128 + the signal's number; an ignored signal stays ignored.
struct SignalCase {
    const char* name;
    SafeFile::NewFile new_file;
    int signal;
    bool ignored;
    int status;  // the exit status, or 0 for death by the signal itself (SIGKILL)
};

void PrintTo(const SignalCase& row, std::ostream* out) {
    *out << row.name;
}

const SignalCase signal_cases[] = {
    {"term_unnamed", SafeFile::NewFile::unnamed_where_possible, SIGTERM, false, 128 + SIGTERM},
    {"int_named", SafeFile::NewFile::named, SIGINT, false, 128 + SIGINT},
    {"hup_named", SafeFile::NewFile::named, SIGHUP, false, 128 + SIGHUP},
    {"kill_unnamed", SafeFile::NewFile::unnamed_where_possible, SIGKILL, false, 0},
    {"ignored_hup_named", SafeFile::NewFile::named, SIGHUP, true, 0},
    // The other signals that end a program unless it catches them.
    {"quit_named", SafeFile::NewFile::named, SIGQUIT, false, 128 + SIGQUIT},
    {"usr1_named", SafeFile::NewFile::named, SIGUSR1, false, 128 + SIGUSR1},
    {"pipe_named", SafeFile::NewFile::named, SIGPIPE, false, 128 + SIGPIPE},
    {"alrm_named", SafeFile::NewFile::named, SIGALRM, false, 128 + SIGALRM},
};

class SignalsDuringASave : public SafeFileTest, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(SignalsDuringASave, LeaveNothingBehind) {
    const SignalCase& row = GetParam();
    const fs::path target = directory / "plot.svg";
    put(target, "old");
    const pid_t child = ::fork();
    if (child == 0) {
        if (row.ignored) {
            std::signal(row.signal, SIG_IGN);
        }
        SafeFile file(target.string(), row.new_file);
        const bool opened = !file.open();
        file.write("new", 3);
        ::raise(row.signal);
        ::_exit(opened && !file.commit() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (row.signal == SIGKILL) {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    } else {
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), row.status);
    }
    EXPECT_EQ(read_file(target), row.ignored ? "new" : "old");
    EXPECT_EQ(entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalsDuringASave, ::testing::ValuesIn(signal_cases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace toven::platform::testing
