// toven --eval FORMULA -: the values of a pipe of points equal single --eval calls; bad
// lines are reported by number while the good ones are written, whatever bytes they hold;
// failed streams are reported with their cause.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace toven::test_support {
namespace {

struct PipeRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs toven --eval FORMULA - with `input` on standard input; `redirections` are added to the
// shell's command after the input's own, `environment` (NAME=VALUE ...) before the program.
PipeRun run_pipe(const std::string& formula, const std::string& input,
                 const std::string& redirections = "", const std::string& environment = "") {
    const std::string folder = testing::TempDir();
    const std::string in = folder + "pipe_in_" + std::to_string(::getpid());
    const std::string err = in + ".err";
    std::FILE* file = std::fopen(in.c_str(), "w");
    std::fwrite(input.data(), 1, input.size(), file);
    std::fclose(file);
    PipeRun run;
    run.out =
        command_output(environment + " '" + toven_binary() + "' --eval '" + formula + "' - < '" +
                       in + "' " + redirections + " 2> '" + err + "'; echo \"status $?\"");
    const std::size_t status = run.out.rfind("status ");
    run.status = std::stoi(run.out.substr(status + 7));
    run.out.erase(status);
    run.err = command_output("cat '" + err + "'");
    std::remove(in.c_str());
    std::remove(err.c_str());
    return run;
}

TEST(EvalPipe, ValuesEqualSingleEvalCalls) {
    const char* formulas[] = {"sin(|x|^a  + |y|^b)", "x*y", "log(x)+sqrt(y)", "exp(x)/y",
                              "atan(x/y)^2"};
    const char* points[][2] = {{"0", "0"},     {"1.5", "-2"},  {"-0.25", "3e-3"},
                               {"1e300", "2"}, {"0.1", "0.2"}, {"-7", "0.5"}};
    for (const char* formula : formulas) {
        SCOPED_TRACE(formula);
        std::string input;
        std::string expected;
        for (const auto& point : points) {
            input += std::string(point[0]) + " " + point[1] + "\n";
            expected += run_toven({"--eval", formula, point[0], point[1]}).out;
        }
        const PipeRun run = run_pipe(formula, input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expected);
    }
}

using namespace std::string_literals;

struct LinesCase {
    const char* name;
    std::string input;
    std::string out;
    std::string err;
    int status;
};

TEST(EvalPipe, ReadsBlanksCommasAndCommentsAndReportsBadLines) {
    const LinesCase cases[] = {
        {"empty_input", "", "", "", 0},
        {"blank_and_comment_lines", "\n  \n# a comment\n", "", "", 0},
        {"comma_and_blanks", "1,2\n3 , 4\n5\t6\n7 8 # note\n9 10\r\n", "2\n12\n30\n56\n90\n", "",
         0},
        {"bad_lines_between_good_ones", "1 2\nx y\n3\n1 2 3\n1,,2\n2 2\n", "2\n4\n",
         "toven: Line 2 needs two numbers X Y, not \"x y\".\n"
         "toven: Line 3 needs two numbers X Y, not \"3\".\n"
         "toven: Line 4 needs two numbers X Y, not \"1 2 3\".\n"
         "toven: Line 5 needs two numbers X Y, not \"1,,2\".\n",
         1},
        {"last_line_without_newline", "2 3", "6\n", "", 0},
        {"overlong_line", std::string(5000, ' ') + "1 2\n3 3\n", "9\n",
         "toven: Line 1 is longer than 4096 characters.\n", 1},
        {"overlong_last_line", "1 1\n" + std::string(5000, '1'), "1\n",
         "toven: Line 2 is longer than 4096 characters.\n", 1},
        {"line_over_several_reads", "1 1\n" + std::string(200000, '7') + "\n2 2\n", "1\n4\n",
         "toven: Line 2 is longer than 4096 characters.\n", 1},
        {"last_line_over_several_reads", "1 1\n" + std::string(200000, '7'), "1\n",
         "toven: Line 2 is longer than 4096 characters.\n", 1},
        {"longest_line_with_cr", std::string(4093, ' ') + "1 2\r\n", "2\n", "", 0},
        {"blanks_on_both_sides", " 1 \t,\t2 \n1\t \t3\t\n", "2\n3\n", "", 0},
        {"nul_inside_a_line", "1 1\0x\n2 2\n3 3\nbad\n"s, "4\n9\n",
         "toven: Line 1 needs two numbers X Y, not \"1 1\\x00x\".\n"
         "toven: Line 4 needs two numbers X Y, not \"bad\".\n",
         1},
        {"nul_first", "\0junk\n2 2\n"s, "4\n",
         "toven: Line 1 needs two numbers X Y, not \"\\x00junk\".\n", 1},
        {"escapes_shown_not_sent", "\x1b[2J\t\xc2\x9b\xff\n", "",
         "toven: Line 1 needs two numbers X Y, not \"\\x1b[2J\\t\\xc2\\x9b\\xff\".\n", 1},
        {"long_bad_line_cut", std::string(300, 'z') + "\n", "",
         "toven: Line 1 needs two numbers X Y, not \"" + std::string(77, 'z') + "...\".\n", 1},
    };
    for (const LinesCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PipeRun run = run_pipe("x*y", c.input);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.status, c.status);
    }
}

// A grid file in place of the formula refuses each point outside it by its line.
TEST(EvalPipe, PointsOutsideAGridAreReportedByLine) {
    const std::string grid =
        testing::TempDir() + "pipe_grid_" + std::to_string(::getpid()) + ".csv";
    std::FILE* file = std::fopen(grid.c_str(), "w");
    std::fputs("1,2\n3,4\n", file);
    std::fclose(file);
    const PipeRun run = run_pipe(grid, "0 0\n2 0\n0.5,1\n");
    std::remove(grid.c_str());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "1\n3.5\n");
    EXPECT_EQ(run.err, "toven: Line 2 lies outside the grid: \"2 0\".\n");
}

TEST(EvalPipe, ALongInputIsWrittenInOrder) {
    constexpr int count = 200000;
    std::string input;
    for (int i = 0; i < count; ++i) {
        input += std::to_string(i) + " 1\n";
    }
    const PipeRun run = run_pipe("x+y", input);
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected;
    for (int i = 0; i < count; ++i) {
        expected += std::to_string(i + 1) + "\n";
    }
    EXPECT_EQ(run.out, expected);
}

// Lines are answered in blocks on every thread: what comes out, values and reports and their
// order, is the same on any number of threads, over several blocks of input.
TEST(EvalPipe, AnyNumberOfThreadsWritesTheSameBytes) {
    std::string input;
    for (int i = 0; i < 40000; ++i) {
        const std::string x = std::to_string((i % 97) - 40) + "." + std::to_string(i % 13);
        switch (i % 11) {
            case 3:
                input += x + " nonsense\n";
                break;
            case 5:
                input += "# a comment\n\n";
                break;
            case 7:
                input += x + ",0.5\r\n";
                break;
            default:
                input += x + " " + std::to_string(i % 7) + "e-1\n";
        }
        if (i % 9973 == 0) {
            input += std::string(5000, '1') + "\n";
        }
    }
    const char* formula = "log(x)+sqrt(y)+1/(x-y)+sin(x*y)^a";
    const PipeRun one = run_pipe(formula, input, "", "TOVEN_THREADS=1");
    EXPECT_EQ(one.status, 1);
    EXPECT_GT(one.out.size(), 100000u);
    EXPECT_NE(one.err.find("longer than 4096 characters"), std::string::npos);
    for (const char* threads : {"TOVEN_THREADS=2", "TOVEN_THREADS=4"}) {
        const PipeRun many = run_pipe(formula, input, "", threads);
        EXPECT_EQ(many.status, one.status) << threads;
        EXPECT_TRUE(many.out == one.out) << threads;
        EXPECT_EQ(many.err, one.err) << threads;
    }
}

// Random bytes between good lines: every line gives a value or a message with its own number.
TEST(EvalPipe, EveryLineOfAnyBytesGivesAValueOrItsNumber) {
    std::mt19937 random(16);
    std::string input;
    std::string out;
    std::vector<int> bad;
    for (int number = 1; number <= 3000; ++number) {
        if (number % 2 == 0) {
            input += std::to_string(number) + " 0\n";
            out += std::to_string(number) + "\n";
            continue;
        }
        std::string junk = "z";
        for (int length = static_cast<int>(random() % 60); length > 0; --length) {
            const char c = static_cast<char>(random() % 256);
            junk += c == '\n' || c == '#' ? '\0' : c;
        }
        input += junk + "\n";
        bad.push_back(number);
    }
    const PipeRun run = run_pipe("x+y", input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, out);
    std::vector<int> reported;
    for (std::size_t at = run.err.find("toven: Line "); at != std::string::npos;
         at = run.err.find("\ntoven: Line ", at + 1)) {
        reported.push_back(std::stoi(run.err.substr(run.err.find("Line ", at) + 5)));
    }
    EXPECT_EQ(reported, bad);
}

// A program at the other end of a pipe gets each answer while it still holds the input open.
TEST(EvalPipe, EachAnswerComesBeforeTheNextLine) {
    int to_toven[2];
    int from_toven[2];
    ASSERT_EQ(::pipe(to_toven), 0);
    ASSERT_EQ(::pipe(from_toven), 0);
    const std::string binary = toven_binary();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(to_toven[0], 0);
        ::dup2(from_toven[1], 1);
        ::close(to_toven[1]);
        ::close(from_toven[0]);
        ::execl(binary.c_str(), binary.c_str(), "--eval", "x+y", "-", nullptr);
        ::_exit(127);
    }
    ::close(to_toven[0]);
    ::close(from_toven[1]);
    const char* points[][2] = {{"1 2\n", "3\n"}, {"3 4\n", "7\n"}};
    for (const auto& [point, answer] : points) {
        // On failure the loop ends, so that closing the input lets the program end.
        pollfd ready{from_toven[0], POLLIN, 0};
        if (::write(to_toven[1], point, std::strlen(point)) <= 0 ||
            ::poll(&ready, 1, 60'000) != 1) {
            ADD_FAILURE() << "no answer to " << point;
            break;
        }
        char buffer[64];
        const ssize_t count = ::read(from_toven[0], buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer, count > 0 ? static_cast<std::size_t>(count) : 0), answer);
    }
    ::close(to_toven[1]);
    ::close(from_toven[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A stream that fails ends the run with status 1 and the system's cause; the values read
// before a failed read are written.
TEST(EvalPipe, FailedStreamsAreReportedWithTheirCause) {
    const std::string folder = testing::TempDir();
    const struct {
        const char* name;
        std::string redirections;
        std::string err;
    } cases[] = {
        {"directory_as_input", "< '" + folder + "'", "Cannot read standard input: Is a directory."},
        {"input_closed", "<&-", "Cannot read standard input: Bad file descriptor."},
        {"input_write_only", "0>> '" + folder + "pipe_write_only'",
         "Cannot read standard input: Bad file descriptor."},
        {"output_closed", ">&-", "Cannot write to standard output: Bad file descriptor."},
        {"output_full", "> /dev/full", "Cannot write to standard output: No space left on device."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PipeRun run = run_pipe("x+y", "1 2\n", c.redirections);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "toven: " + c.err + "\n");
        EXPECT_EQ(run.out, "");
    }
    std::remove((folder + "pipe_write_only").c_str());
}

}  // namespace
}  // namespace toven::test_support
