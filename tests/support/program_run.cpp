#include "tests/support/program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/support/test_files.h"

namespace toven::test_support {

namespace {

// In the child: standard output and error to the files, the file limit set, then the program.
[[noreturn]] void exec_program(const std::string& binary, const std::vector<std::string>& arguments,
                               const RunOptions& options, const std::string& out_path,
                               const std::string& err_path) {
    ::dup2(options.out_device != nullptr ? ::open(options.out_device, O_WRONLY)
                                         : ::open(out_path.c_str(), O_WRONLY | O_CREAT, 0600),
           1);
    ::dup2(::open(err_path.c_str(), O_WRONLY | O_CREAT, 0600), 2);
    std::signal(SIGXFSZ, SIG_IGN);
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
    const std::string err_path = folder.file("err");
    const std::string binary = toven_binary();
    const pid_t child = ::fork();
    if (child == 0) {
        exec_program(binary, arguments, options, out_path, err_path);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out_path), read_file(err_path)};
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
