// The command line of scripts: "toven --eval ..." or "toven --render FILE ..." with the rest
// of the arguments from the input, one a line (NAME=VALUE items, options, anything). Every run
// must end with status 0, or with status 1 and a message on standard error; a refused
// --render writes no file. Run it with -close_fd_mask=3: the program's own output is caught
// here, libFuzzer's reports keep a descriptor of their own.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/command/command_line.h"
#include "fuzz/fuzz_support.h"

using namespace toven;

namespace {

// More arguments than any command takes, so that long runs of NAME=VALUE items are tried.
constexpr std::size_t max_arguments = 24;

std::string scratch_directory() {
    char pattern[] = "/tmp/toven-fuzz-XXXXXX";
    const char* directory = mkdtemp(pattern);
    if (directory == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return directory;
}

const char* const picture_extensions[] = {".png", ".svg", ".pdf"};

const std::string& picture_stem();

void remove_scratch() {
    const std::string& stem = picture_stem();
    for (const char* extension : picture_extensions) {
        std::remove((stem + extension).c_str());
    }
    std::remove((stem + ".out").c_str());
    rmdir(stem.substr(0, stem.rfind('/')).c_str());
}

// Kept on the heap for good, so that remove_scratch can still read it at exit.
const std::string& picture_stem() {
    static const std::string* stem = [] {
        const auto* path = new std::string(scratch_directory() + "/page");
        std::atexit(remove_scratch);
        return path;
    }();
    return *stem;
}

// Standard output and error of one run, caught in a file.
class CaughtOutput {
  public:
    CaughtOutput() {
        std::fflush(stdout);
        std::fflush(stderr);
        path_ = picture_stem() + ".out";
        const int file = open(path_.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        saved_out_ = dup(1);
        saved_err_ = dup(2);
        dup2(file, 1);
        dup2(file, 2);
        close(file);
    }
    ~CaughtOutput() { restore(); }
    CaughtOutput(const CaughtOutput&) = delete;
    CaughtOutput& operator=(const CaughtOutput&) = delete;

    std::string text() {
        restore();
        std::string text;
        if (std::FILE* file = std::fopen(path_.c_str(), "r")) {
            char buffer[4096];
            std::size_t count = 0;
            while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
                text.append(buffer, count);
            }
            std::fclose(file);
        }
        return text;
    }

  private:
    void restore() {
        if (saved_out_ < 0) {
            return;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(saved_out_, 1);
        dup2(saved_err_, 2);
        close(saved_out_);
        close(saved_err_);
        saved_out_ = saved_err_ = -1;
    }

    std::string path_;
    int saved_out_ = -1;
    int saved_err_ = -1;
};

std::vector<std::string> arguments_of(const std::uint8_t* data, std::size_t size,
                                      std::string& picture) {
    std::vector<std::string> arguments = {"toven"};
    const unsigned choice = size > 0 ? data[0] : 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                                size > 0 ? size - 1 : 0);
    if (choice % 2 == 0) {
        arguments.push_back("--eval");
    } else {
        arguments.push_back("--render");
        picture = picture_stem() + picture_extensions[(choice / 2) % 3];
        arguments.push_back(picture);
    }
    std::size_t start = 0;
    while (start <= rest.size() && arguments.size() < max_arguments) {
        const std::size_t end = std::min(rest.find('\n', start), rest.size());
        const std::string line(rest.substr(start, end - start));
        arguments.push_back(line.substr(0, line.find('\0')));
        start = end + 1;
    }
    return arguments;
}

bool file_exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string picture;
    std::vector<std::string> arguments = arguments_of(data, size, picture);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    if (!picture.empty()) {
        std::remove(picture.c_str());
    }
    CaughtOutput output;
    const int status = run_command_line(static_cast<int>(arguments.size()), argv.data());
    const std::string text = output.text();
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (status != 0 && status != 1) {
        fuzz::fail("exit status " + std::to_string(status), input);
    }
    if (status == 1 && (text.empty() || text.back() != '\n')) {
        fuzz::fail("a refusal without a message: '" + text + "'", input);
    }
    if (!picture.empty() && file_exists(picture) != (status == 0)) {
        fuzz::fail(status == 0 ? "--render succeeded without a picture"
                               : "a refused --render left a picture behind",
                   input);
    }
    return 0;
}
