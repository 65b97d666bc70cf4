// How many threads a job uses, and the blocks it hands them: TOVEN_THREADS when it is a whole
// number in range, else the processors the process may run on; every index once.
#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "platform/parallel.h"
#include "tests/support/scoped_threads.h"

namespace toven::platform {
namespace {

using test_support::ScopedThreads;

int processors_of_this_thread() {
    cpu_set_t set;
    CPU_ZERO(&set);
    EXPECT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    return CPU_COUNT(&set);
}

TEST(Parallel, ThreadsComeFromTheVariableElseFromTheProcessors) {
    const int processors = processors_of_this_thread();
    const struct {
        const char* variable;
        int threads;
    } cases[] = {
        {"3", 3},
        {"1", 1},
        {"256", 256},
        {"0", processors},
        {"257", processors},
        {"-2", processors},
        {"2x", processors},
        {" 2", processors},
        {"", processors},
        {nullptr, processors},
    };
    for (const auto& c : cases) {
        const ScopedThreads scoped(c.variable);
        EXPECT_EQ(usable_threads(), c.threads) << (c.variable ? c.variable : "unset");
    }
}

// As taskset starts a program on one processor.
TEST(Parallel, ARestrictedProcessorSetIsHonoured) {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const ScopedThreads scoped(nullptr);
    EXPECT_EQ(usable_threads(), 1);
    EXPECT_EQ(allowed_processors(), 1);
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
}

TEST(Parallel, EveryIndexIsHandedOutOnce) {
    const struct {
        std::size_t count;
        std::size_t grain;
    } cases[] = {{0, 4}, {1, 4}, {1000, 7}, {100000, 2048}, {5, 0}};
    for (int threads : {1, 3}) {
        Workers workers(threads);
        for (const auto& c : cases) {
            std::vector<std::atomic<int>> seen(c.count);
            workers.for_each_block(c.count, c.grain, [&](std::size_t begin, std::size_t end) {
                for (std::size_t i = begin; i < end; ++i) {
                    ++seen[i];
                }
            });
            for (std::size_t i = 0; i < c.count; ++i) {
                ASSERT_EQ(seen[i].load(), 1) << threads << " threads, index " << i;
            }
        }
    }
}

// Items come out in the order they went in, each through its own slot while it is in flight.
TEST(Parallel, ItemsInOrderAreWrittenInOrder) {
    for (int threads : {1, 3}) {
        Workers workers(threads);
        constexpr std::size_t in_flight = 4;
        int items[in_flight] = {};
        int read = 0;
        std::vector<int> written;
        workers.run_in_order(
            in_flight,
            [&](std::size_t slot) {
                items[slot] = read;
                return read++ < 5000;
            },
            [&](std::size_t slot) { items[slot] = items[slot] * 2 + 1; },
            [&](std::size_t slot) { written.push_back(items[slot]); });
        ASSERT_EQ(written.size(), 5000u) << threads;
        for (int i = 0; i < 5000; ++i) {
            ASSERT_EQ(written[static_cast<std::size_t>(i)], i * 2 + 1) << threads;
        }
    }
}

// A failure in a block or beside the caller's work reaches the caller, after the rest ended.
TEST(Parallel, AFailureReachesTheCaller) {
    for (int threads : {1, 3}) {
        Workers workers(threads);
        EXPECT_THROW(workers.for_each_block(10000, 10,
                                            [](std::size_t begin, std::size_t end) {
                                                if (begin <= 5000 && 5000 < end) {
                                                    throw std::runtime_error("block");
                                                }
                                            }),
                     std::runtime_error);
        bool foreground_ran = false;
        EXPECT_THROW(workers.run_beside([&] { foreground_ran = true; },
                                        [] { throw std::runtime_error("beside"); }),
                     std::runtime_error);
        EXPECT_TRUE(foreground_ran);
    }
}

}  // namespace
}  // namespace toven::platform
