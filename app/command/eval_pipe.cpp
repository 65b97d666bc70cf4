#include "app/command/eval_pipe.h"

#include <poll.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <vector>

#include "expr/c_number.h"
#include "expr/surface_function.h"
#include "platform/parallel.h"
#include "platform/visible_text.h"

namespace toven {

namespace {

struct Point {
    double x;
    double y;
};

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

const char* skip_blanks(const char* at, const char* end) {
    while (at != end && is_blank(*at)) {
        ++at;
    }
    return at;
}

// The forms from_chars leaves to strtod (hexadecimal, a value beyond the range of double),
// read from a terminated copy; the number's end in [at, end), or null.
const char* read_number_by_strtod(const char* at, const char* end, double& value) {
    char copy[max_point_line + 1];
    const std::size_t length = static_cast<std::size_t>(end - at);
    if (length > max_point_line || std::isspace(static_cast<unsigned char>(*at))) {
        return nullptr;
    }
    std::memcpy(copy, at, length);
    copy[length] = '\0';
    const char* stop = nullptr;
    value = c_strtod(copy, &stop);
    return stop == copy ? nullptr : at + (stop - copy);
}

// number = [ "+" | "-" ] what strtod reads in the "C" locale; its end, or null. The common
// decimal forms take the fast road of from_chars, which reads them as strtod does.
const char* read_number(const char* at, const char* end, double& value) {
    if (at == end) {
        return nullptr;
    }
    const char* digits = *at == '+' && end - at > 1 && at[1] != '-' && at[1] != '+' ? at + 1 : at;
    const auto [stop, error] = std::from_chars(digits, end, value);
    if (error == std::errc() && (stop == end || is_blank(*stop) || *stop == ',')) {
        return stop;
    }
    return read_number_by_strtod(at, end, value);
}

// point = number ( blanks | [blanks] "," [blanks] ) number [blanks]
std::optional<Point> read_point(const char* at, const char* end) {
    Point point{};
    at = skip_blanks(at, end);
    const char* stop = read_number(at, end, point.x);
    if (stop == nullptr) {
        return std::nullopt;
    }
    at = skip_blanks(stop, end);
    if (at != end && *at == ',') {
        at = skip_blanks(at + 1, end);
    } else if (at == stop) {
        return std::nullopt;
    }
    stop = read_number(at, end, point.y);
    if (stop == nullptr || skip_blanks(stop, end) != end) {
        return std::nullopt;
    }
    return point;
}

// Buffered writes to a descriptor; the first failure's errno is kept and ends the writing.
class Output {
  public:
    explicit Output(int descriptor) : descriptor_(descriptor) {}

    // One answer's line: at most max_value_text characters and its newline.
    void put_line(const char* text, std::size_t length) {
        if (buffer_.size() - used_ < max_value_text + 1) {
            flush();
        }
        std::memcpy(buffer_.data() + used_, text, length);
        used_ += length;
        buffer_[used_++] = '\n';
    }

    void flush() {
        std::size_t done = 0;
        while (done < used_ && error == 0) {
            const ssize_t written = ::write(descriptor_, buffer_.data() + done, used_ - done);
            if (written >= 0) {
                done += static_cast<std::size_t>(written);
            } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd ready{descriptor_, POLLOUT, 0};
                ::poll(&ready, 1, -1);
            } else if (errno != EINTR) {
                error = errno;
            }
        }
        used_ = 0;
    }

    int error = 0;

  private:
    int descriptor_;
    std::vector<char> buffer_ = std::vector<char>(1 << 16);
    std::size_t used_ = 0;
};

// The lines of a descriptor, each without its "\n", read in large blocks; a line longer than
// max_point_line is skipped as it arrives and given as too long.
class LineReader {
  public:
    LineReader(int descriptor, Output& output) : descriptor_(descriptor), output_(output) {}

    // `more` when the next line needs a read and `may_read` is not set. The lines given
    // stay valid until the next call that may read.
    enum class Status { line, too_long, more, end };

    Status next(std::string_view& line, bool may_read) {
        for (;;) {
            const char* start = buffer_.data() + start_;
            if (const void* newline = std::memchr(start, '\n', end_ - start_)) {
                line = {start, static_cast<std::size_t>(static_cast<const char*>(newline) - start)};
                start_ += line.size() + 1;
                return line_status(line);
            }
            if (end_ - start_ > max_point_line + 1) {
                // Its CR aside, the line is already longer than allowed: it is let go.
                too_long_ = true;
                start_ = end_;
            }
            if (at_end_) {
                line = {buffer_.data() + start_, end_ - start_};
                start_ = end_;
                if (line.empty() && !too_long_) {
                    return Status::end;
                }
                return line_status(line);
            }
            if (!may_read) {
                return Status::more;
            }
            fill();
        }
    }

    int error = 0;

  private:
    static bool longer_than_allowed(std::string_view line) {
        const bool cr = !line.empty() && line.back() == '\r';
        return line.size() - (cr ? 1 : 0) > max_point_line;
    }

    Status line_status(std::string_view line) {
        const bool too_long = too_long_ || longer_than_allowed(line);
        too_long_ = false;
        return too_long ? Status::too_long : Status::line;
    }

    // Moves what is held to the front and reads more behind it; the values so far go out
    // first, since the read may wait for the writer at the other end.
    void fill() {
        std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
        output_.flush();
        for (;;) {
            const ssize_t count = ::read(descriptor_, buffer_.data() + end_, buffer_.size() - end_);
            if (count > 0) {
                end_ += static_cast<std::size_t>(count);
                return;
            }
            if (count == 0) {
                at_end_ = true;
                return;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd ready{descriptor_, POLLIN, 0};
                ::poll(&ready, 1, -1);
            } else if (errno != EINTR) {
                error = errno;
                at_end_ = true;
                end_ = start_;  // a line cut short by the error is not a line
                return;
            }
        }
    }

    int descriptor_;
    Output& output_;
    std::vector<char> buffer_ = std::vector<char>((1 << 16) + max_point_line + 2);
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    bool at_end_ = false;
    bool too_long_ = false;  // the line being read has already been let go
};

// One bad line on `errors`, after the values before it, so that both keep their order on a
// terminal; `message` ends the sentence that starts with the line's number.
void report_line(std::FILE* errors, Output& output, long number, const std::string& message) {
    output.flush();
    std::fprintf(errors, "toven: Line %ld %s\n", number, message.c_str());
}

// Below this many lines a batch is answered on the caller's thread alone: a person typing
// at a terminal sends one line at a time.
constexpr std::size_t min_shared_batch = 256;
// The lines one thread answers at a time.
constexpr std::size_t block_lines = 128;

// The lines read without waiting, answered together: read and evaluated on every thread,
// then written in input order, each bad line's report in its place.
class Batch {
  public:
    Batch(FunctionXY& function, platform::Workers& workers)
        : function_(function), workers_(workers) {}

    void add(std::string_view text, long number, bool too_long) {
        lines_.push_back({text, number, too_long ? Kind::too_long : Kind::point, 0});
    }

    // Answers every line added, then forgets them.
    void write(Output& output, std::FILE* errors, Tabulation& result) {
        answers_.resize(lines_.size() * max_value_text);
        const bool shared = function_.shared_evaluation() && lines_.size() >= min_shared_batch;
        if (shared) {
            workers_.for_each_block(lines_.size(), block_lines,
                                    [this](std::size_t begin, std::size_t end) {
                                        std::vector<double> stack;
                                        answer(begin, end, &stack);
                                    });
        } else {
            answer(0, lines_.size(), nullptr);
        }
        for (std::size_t i = 0; i < lines_.size() && output.error == 0; ++i) {
            const Line& line = lines_[i];
            if (line.kind == Kind::value) {
                output.put_line(answers_.data() + i * max_value_text, line.length);
                continue;
            }
            const std::string message =
                line.kind == Kind::too_long
                    ? "is longer than " + std::to_string(max_point_line) + " characters."
                : line.kind == Kind::outside
                    ? "lies outside the grid: " + platform::quoted(line.text) + "."
                    : "needs two numbers X Y, not " + platform::quoted(line.text) + ".";
            report_line(errors, output, line.number, message);
            ++result.bad_lines;
        }
        lines_.clear();
    }

    bool empty() const { return lines_.empty(); }

  private:
    enum class Kind { point, value, too_long, outside };
    struct Line {
        std::string_view text;
        long number;
        Kind kind;
        std::size_t length;  // of the answer's text
    };

    // Reads and evaluates lines [begin, end): with a stack of its own, through the function's
    // shared evaluation; without one, through its evaluate.
    void answer(std::size_t begin, std::size_t end, std::vector<double>* stack) {
        for (std::size_t i = begin; i < end; ++i) {
            Line& line = lines_[i];
            if (line.kind != Kind::point) {
                continue;
            }
            const char* text_end = line.text.data() + line.text.size();
            const auto point = read_point(line.text.data(), text_end);
            if (!point) {
                continue;
            }
            if (!function_.covers(point->x, point->y)) {
                line.kind = Kind::outside;
                continue;
            }
            const double value = stack != nullptr
                                     ? function_.evaluate_shared(point->x, point->y, *stack)
                                     : function_.evaluate(point->x, point->y);
            char* out = answers_.data() + i * max_value_text;
            line.length = static_cast<std::size_t>(format_value(value, out) - out);
            line.kind = Kind::value;
        }
    }

    FunctionXY& function_;
    platform::Workers& workers_;
    std::vector<Line> lines_;
    std::vector<char> answers_;
};

}  // namespace

std::optional<double> read_coordinate(std::string_view text) {
    const char* end = text.data() + text.size();
    while (end != text.data() && is_blank(end[-1])) {
        --end;
    }
    double value = 0;
    const char* at = skip_blanks(text.data(), end);
    const char* stop = read_number(at, end, value);
    return stop == end ? std::optional<double>(value) : std::nullopt;
}

Tabulation tabulate(FunctionXY& function, int in, int out, std::FILE* errors) {
    Output output(out);
    LineReader reader(in, output);
    platform::Workers workers(function.shared_evaluation() ? platform::usable_threads() : 1);
    Batch batch(function, workers);
    Tabulation result;
    long number = 0;
    std::string_view line;
    while (output.error == 0) {
        // The lines at hand are answered before a read that may wait for more.
        const LineReader::Status status = reader.next(line, batch.empty());
        if (status == LineReader::Status::more) {
            batch.write(output, errors, result);
            continue;
        }
        if (status == LineReader::Status::end) {
            break;
        }
        ++number;
        if (status == LineReader::Status::too_long) {
            batch.add(line, number, true);
            continue;
        }
        const std::string_view text = line.substr(0, line.find('#'));
        const char* end = text.data() + text.size();
        if (skip_blanks(text.data(), end) != end) {
            batch.add(text, number, false);
        }
    }
    if (output.error == 0) {
        batch.write(output, errors, result);
    }
    output.flush();
    result.read_error = reader.error;
    result.write_error = output.error;
    return result;
}

}  // namespace toven
