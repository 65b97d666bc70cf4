#include "app/command/eval_pipe.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
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

    void put(const char* text, std::size_t length) {
        while (length > 0 && error == 0) {
            if (used_ == buffer_.size()) {
                flush();
            }
            const std::size_t part = std::min(length, buffer_.size() - used_);
            std::memcpy(buffer_.data() + used_, text, part);
            used_ += part;
            text += part;
            length -= part;
        }
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

// Whole lines of a descriptor, a read at a time. A line longer than max_point_line is let go
// as it arrives, and the lines of the next read start with what is left of it.
class LineReader {
  public:
    explicit LineReader(int descriptor) : descriptor_(descriptor) {}

    // What one read gives, as lines that start at the front of its buffer.
    struct Lines {
        std::size_t length;   // of the whole lines, each ended by "\n" but the last at the end
        bool too_long_first;  // the first line is the end of a line let go
    };

    // The bytes a read fills, the unfinished line before them included.
    static constexpr std::size_t buffer_size = (1 << 16) + max_point_line + 2;

    // The unfinished line of the read before, then one read into `buffer` (buffer_size bytes);
    // its whole lines.
    Lines read(char* buffer) {
        std::memcpy(buffer, unfinished_.data(), unfinished_length_);
        const std::size_t end = fill(buffer, unfinished_length_);
        std::size_t length = end;
        if (!at_end_) {
            const char* last = static_cast<const char*>(memrchr(buffer, '\n', end));
            length = last == nullptr ? 0 : static_cast<std::size_t>(last - buffer) + 1;
        }
        const Lines lines{length, too_long_ && (length > 0 || at_end_)};
        too_long_ = too_long_ && !lines.too_long_first;
        unfinished_length_ = end - length;
        if (unfinished_length_ > max_point_line + 1) {
            // Its CR aside, the line is already longer than allowed: it is let go.
            too_long_ = true;
            unfinished_length_ = 0;
        }
        std::memcpy(unfinished_.data(), buffer + length, unfinished_length_);
        return lines;
    }

    bool at_end() const { return at_end_ && unfinished_length_ == 0 && !too_long_; }

    // Whether a read would return at once rather than wait for the writer at the other end.
    bool ready() const {
        pollfd ready{descriptor_, POLLIN, 0};
        return ::poll(&ready, 1, 0) > 0;
    }

    int error = 0;

  private:
    // Reads once into buffer[held..buffer_size); the end of what the buffer then holds.
    std::size_t fill(char* buffer, std::size_t held) {
        for (;;) {
            const ssize_t count = ::read(descriptor_, buffer + held, buffer_size - held);
            if (count > 0) {
                return held + static_cast<std::size_t>(count);
            }
            if (count == 0) {
                at_end_ = true;
                return held;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd ready{descriptor_, POLLIN, 0};
                ::poll(&ready, 1, -1);
            } else if (errno != EINTR) {
                error = errno;
                at_end_ = true;
                return 0;  // a line cut short by the error is not a line
            }
        }
    }

    int descriptor_;
    std::vector<char> unfinished_ = std::vector<char>(max_point_line + 2);
    std::size_t unfinished_length_ = 0;
    bool at_end_ = false;
    bool too_long_ = false;  // the line being read has already been let go
};

// A line that gets a message instead of a value.
struct BadLine {
    enum class Kind { not_a_point, too_long, outside };
    Kind kind;
    long index;              // among the lines of its read
    std::size_t answers_at;  // where it falls among the read's answers
    std::string_view text;

    std::string message() const {
        switch (kind) {
            case Kind::too_long:
                return "is longer than " + std::to_string(max_point_line) + " characters.";
            case Kind::outside:
                return "lies outside the grid: " + platform::quoted(text) + ".";
            case Kind::not_a_point:
                break;
        }
        return "needs two numbers X Y, not " + platform::quoted(text) + ".";
    }
};

bool longer_than_allowed(std::string_view line) {
    const bool cr = !line.empty() && line.back() == '\r';
    return line.size() - (cr ? 1 : 0) > max_point_line;
}

// The lines of one read, answered on one thread: their values as the text to write, and
// their bad lines. A chunk keeps its memory from one read to the next.
class Chunk {
  public:
    void read(LineReader& reader) {
        if (!buffer_) {
            // Made when first read into, and left as it is: a read fills what it uses.
            buffer_ = std::make_unique_for_overwrite<char[]>(LineReader::buffer_size);
        }
        lines_ = reader.read(buffer_.get());
        line_count_ = 0;
        answers_.clear();
        bad_.clear();
    }

    // Reads and evaluates the lines: with a stack, through the function's shared evaluation;
    // without one, through its evaluate.
    void answer(FunctionXY& function, std::vector<double>* stack) {
        std::string_view text(buffer_.get(), lines_.length);
        bool too_long = lines_.too_long_first;
        while (!text.empty() || too_long) {
            const std::size_t newline = text.find('\n');
            const std::string_view line = text.substr(0, newline);
            text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
            if (too_long || longer_than_allowed(line)) {
                bad(BadLine::Kind::too_long, line);
            } else {
                answer_line(function, line.substr(0, line.find('#')), stack);
            }
            ++line_count_;
            too_long = false;
        }
    }

    // Writes the answers, each bad line's report in its place, until the output fails.
    // `number` counts the lines before.
    void write(Output& output, std::FILE* errors, Tabulation& result, long& number) const {
        std::size_t written = 0;
        for (const BadLine& line : bad_) {
            output.put(answers_.data() + written, line.answers_at - written);
            written = line.answers_at;
            // After the values before it, so that both keep their order on a terminal.
            output.flush();
            if (output.error != 0) {
                return;
            }
            std::fprintf(errors, "toven: Line %ld %s\n", number + line.index + 1,
                         line.message().c_str());
            ++result.bad_lines;
        }
        output.put(answers_.data() + written, answers_.size() - written);
        number += line_count_;
    }

  private:
    void answer_line(FunctionXY& function, std::string_view line, std::vector<double>* stack) {
        const char* end = line.data() + line.size();
        if (skip_blanks(line.data(), end) == end) {
            return;
        }
        const auto point = read_point(line.data(), end);
        if (!point) {
            bad(BadLine::Kind::not_a_point, line);
        } else if (!function.covers(point->x, point->y)) {
            bad(BadLine::Kind::outside, line);
        } else {
            const double value = stack != nullptr
                                     ? function.evaluate_shared(point->x, point->y, *stack)
                                     : function.evaluate(point->x, point->y);
            char text[max_value_text + 1];
            char* text_end = format_value(value, text);
            *text_end++ = '\n';
            answers_.append(text, text_end);
        }
    }

    void bad(BadLine::Kind kind, std::string_view line) {
        bad_.push_back({kind, line_count_, answers_.size(), line});
    }

    std::unique_ptr<char[]> buffer_;
    LineReader::Lines lines_{};
    long line_count_ = 0;
    std::string answers_;
    std::vector<BadLine> bad_;
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
    LineReader reader(in);
    const bool shared = function.shared_evaluation();
    platform::Workers workers(shared ? platform::usable_threads() : 1);
    // Two reads a thread in flight: while some are answered, others are read or written.
    std::vector<Chunk> chunks(2 * static_cast<std::size_t>(workers.threads()));
    std::vector<std::vector<double>> stacks(chunks.size());
    Tabulation result;
    long number = 0;
    std::atomic<bool> output_failed = false;  // told by the writes to the reads
    while (!reader.at_end()) {
        // Every answer goes out before a read that may wait, which only a run's first does:
        // a run ends where the input has not come yet.
        output.flush();
        if (output.error != 0) {
            break;
        }
        bool first = true;
        workers.run_in_order(
            chunks.size(),
            [&](std::size_t slot) {
                if (reader.at_end() || output_failed || (!first && !reader.ready())) {
                    return false;
                }
                first = false;
                chunks[slot].read(reader);
                return true;
            },
            [&](std::size_t slot) {
                chunks[slot].answer(function, shared ? &stacks[slot] : nullptr);
            },
            [&](std::size_t slot) {
                chunks[slot].write(output, errors, result, number);
                output_failed = output.error != 0;
            });
    }
    output.flush();
    result.read_error = reader.error;
    result.write_error = output.error;
    return result;
}

}  // namespace toven
