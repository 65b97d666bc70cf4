#include "tests/support/program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/support/test_files.h"

namespace toven::test_support {

namespace {

// In the child: standard output to its file, standard error to the pipe (which no file-size
// limit cuts short), SIGXFSZ with its default action as a shell leaves it, the file limit
// set, then the program.
[[noreturn]] void exec_program(const std::string& binary, const std::vector<std::string>& arguments,
                               const RunOptions& options, const std::string& out_path,
                               int err_pipe) {
    ::dup2(options.out_device != nullptr ? ::open(options.out_device, O_WRONLY)
                                         : ::open(out_path.c_str(), O_WRONLY | O_CREAT, 0600),
           1);
    ::dup2(err_pipe, 2);
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{options.file_limit, options.file_limit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(binary.c_str(), argv.data());
    ::_exit(127);
}

}  // namespace

std::string toven_binary() {
    if (const char* binary = std::getenv("TOVEN_BINARY")) {
        return binary;
    }
    char self[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string path(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/')) + "/../app/toven";
}

ProgramRun run_toven(const std::vector<std::string>& arguments, const RunOptions& options) {
    const TempFolder folder("toven-run");
    const std::string out_path = folder.file("out");
    const std::string binary = toven_binary();
    int err_pipe[2];
    if (::pipe2(err_pipe, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        exec_program(binary, arguments, options, out_path, err_pipe[1]);
    }
    ::close(err_pipe[1]);
    std::string err;
    char buffer[4096];
    for (ssize_t count; (count = ::read(err_pipe[0], buffer, sizeof buffer)) != 0;) {
        if (count > 0) {
            err.append(buffer, static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            break;
        }
    }
    ::close(err_pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out_path), err};
}

std::string command_output(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    char buffer[4096];
    std::size_t read = 0;
    while (pipe && (read = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) {
        output.append(buffer, read);
    }
    return output;
}

}  // namespace toven::test_support
