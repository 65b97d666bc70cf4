// The points of toven --eval FORMULA -, as a pipe brings them: any bytes, in pieces of any
// size, on one thread or several. Checks that what comes out, values and numbered reports in
// their order, is the same as from the whole input read at once on one thread, and that every
// report names a line the input has.
//
// Input: the first byte sets the sizes of the pieces the pipe is given; the rest is the text.
// A byte 0x7f followed by a count repeats the byte before it that many times 64, so that lines
// longer than allowed fit in a short input.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/command/eval_pipe.h"
#include "expr/surface_function.h"
#include "fuzz/fuzz_support.h"

using namespace toven;

namespace {

// x + y where x is not below -1000; the rest lies outside, as beyond a grid's nodes.
class Sum final : public FunctionXY {
  public:
    double evaluate(double x, double y) override { return x + y; }
    bool shared_evaluation() const override { return true; }
    double evaluate_shared(double x, double y, std::vector<double>&) const override {
        return x + y;
    }
    bool covers(double x, double) const override { return !(x < -1000); }
};

std::string expanded_text(const std::uint8_t* data, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0x7f && i + 1 < size && !text.empty()) {
            text.append(std::size_t{data[++i]} * 64, text.back());
        } else {
            text += static_cast<char>(data[i]);
        }
    }
    return text;
}

struct Answers {
    std::string out;
    std::string err;
    long bad_lines = 0;
};

std::string whole_file(int descriptor) {
    std::string text(static_cast<std::size_t>(::lseek(descriptor, 0, SEEK_END)), '\0');
    if (::pread(descriptor, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
        fuzz::fail("the answers cannot be read back", "");
    }
    return text;
}

// The answers to `text` on `threads` threads, read from a file, or from a pipe that is given
// pieces of the sizes `piece` sets.
Answers answers(const std::string& text, const char* threads, int piece) {
    ::setenv("TOVEN_THREADS", threads, 1);
    const int out = ::memfd_create("out", 0);
    int in = -1;
    std::thread writer;
    if (piece == 0) {
        in = ::memfd_create("in", 0);
        if (::write(in, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            fuzz::fail("the input cannot be written", text);
        }
        ::lseek(in, 0, SEEK_SET);
    } else {
        int ends[2];
        if (::pipe(ends) != 0) {
            fuzz::fail("no pipe", text);
        }
        in = ends[0];
        writer = std::thread([&text, piece, end = ends[1]] {
            for (std::size_t at = 0, n = 0; at < text.size(); ++n) {
                const std::size_t length =
                    std::min(text.size() - at, 1 + (n * 7919 + std::size_t(piece)) % 5000);
                const ssize_t written = ::write(end, text.data() + at, length);
                if (written <= 0) {
                    break;
                }
                at += static_cast<std::size_t>(written);
            }
            ::close(end);
        });
    }
    char* err = nullptr;
    std::size_t err_size = 0;
    std::FILE* errors = ::open_memstream(&err, &err_size);
    Sum sum;
    const Tabulation run = tabulate(sum, in, out, errors);
    std::fclose(errors);
    if (writer.joinable()) {
        writer.join();
    }
    Answers result{whole_file(out), std::string(err, err_size), run.bad_lines};
    std::free(err);
    ::close(in);
    ::close(out);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string text = expanded_text(data + 1, size - 1);
    const Answers once = answers(text, "1", 0);
    const Answers piecewise = answers(text, "3", 1 + data[0]);
    if (piecewise.out != once.out || piecewise.err != once.err ||
        piecewise.bad_lines != once.bad_lines) {
        fuzz::fail("pieces on three threads answer otherwise than the whole on one", text);
    }
    const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) +
                       (text.empty() || text.back() == '\n' ? 0 : 1);
    for (std::size_t at = once.err.find("Line "); at != std::string::npos;
         at = once.err.find("\ntoven: Line ", at + 1)) {
        const long number = std::atol(once.err.c_str() + once.err.find("Line ", at) + 5);
        if (number < 1 || number > lines) {
            fuzz::fail(
                "a report names line " + std::to_string(number) + " of " + std::to_string(lines),
                text);
        }
    }
    return 0;
}
