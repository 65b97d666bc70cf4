#include "app/eval_pipe.h"

#include <cstring>
#include <optional>

#include "expr/c_number.h"
#include "expr/surface_function.h"

namespace toven {

namespace {

struct Point {
    double x;
    double y;
};

const char* skip_blanks(const char* at) {
    while (*at == ' ' || *at == '\t' || *at == '\r') {
        ++at;
    }
    return at;
}

// point = number ( blanks | [blanks] "," [blanks] ) number [blanks]; the comment is cut off.
std::optional<Point> read_point(const char* text) {
    const char* end = nullptr;
    const char* at = skip_blanks(text);
    const double x = c_strtod(at, &end);
    if (end == at) {
        return std::nullopt;
    }
    at = skip_blanks(end);
    if (*at == ',') {
        at = skip_blanks(at + 1);
    } else if (at == end) {
        return std::nullopt;
    }
    const double y = c_strtod(at, &end);
    if (end == at || *skip_blanks(end) != '\0') {
        return std::nullopt;
    }
    return Point{x, y};
}

// Cuts the line at its comment and its end of line; true when nothing but blanks is left.
bool blank_after_cut(char* line) {
    line[std::strcspn(line, "#\n")] = '\0';
    return *skip_blanks(line) == '\0';
}

}  // namespace

long tabulate(FunctionXY& function, std::FILE* in, std::FILE* out, std::FILE* errors) {
    char line[max_point_line + 2];
    long number = 0;
    long bad = 0;
    while (std::fgets(line, sizeof line, in) != nullptr && !std::ferror(out)) {
        ++number;
        const std::size_t length = std::strlen(line);
        if (length > 0 && line[length - 1] != '\n' && !std::feof(in)) {
            // Too long to hold: the rest is skipped, and the line counts as bad.
            int c = 0;
            while ((c = std::fgetc(in)) != EOF && c != '\n') {
            }
            std::fprintf(errors, "toven: line %ld: longer than %zu characters\n", number,
                         max_point_line);
            ++bad;
            continue;
        }
        if (blank_after_cut(line)) {
            continue;
        }
        if (const auto point = read_point(line)) {
            std::fprintf(out, "%.17g\n", function.evaluate(point->x, point->y));
        } else {
            std::fprintf(errors, "toven: line %ld: expected two numbers X Y, not '%s'\n", number,
                         line);
            ++bad;
        }
    }
    return bad;
}

}  // namespace toven
