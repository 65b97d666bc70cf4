#include "platform/parallel.h"

#include "platform/vector_state.h"

#include <sched.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

#include <oneapi/tbb/blocked_range.h>
#include <oneapi/tbb/global_control.h>
#include <oneapi/tbb/info.h>
#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/parallel_pipeline.h>
#include <oneapi/tbb/task_arena.h>
#include <oneapi/tbb/task_group.h>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace toven::platform {

namespace {

// ThreadSanitizer cannot see oneTBB hand work from thread to thread (its library is not built
// for the sanitizer), so the hand-over is told to it: a block starts after its loop began, and
// the loop ends after every block ended. The blocks learn nothing of each other, so a race
// between two blocks is still reported.
struct HandOver {
    char began = 0;
    char ended = 0;
#if defined(__SANITIZE_THREAD__)
    void begin() {
        __tsan_release(&began);
    }
    void end() {
        __tsan_acquire(&ended);
    }
    // A block that fails has ended too: its exception goes over to the caller.
    template <class Block>
    void run_block(const Block& block) {
        __tsan_acquire(&began);
        try {
            block();
        } catch (...) {
            __tsan_release(&ended);
            throw;
        }
        __tsan_release(&ended);
    }
    // A stage of an item in the pipeline: after the item's stage before it.
    template <class Stage>
    static void run_stage(const void* item, const Stage& stage) {
        __tsan_acquire(const_cast<void*>(item));
        stage();
        __tsan_release(const_cast<void*>(item));
    }
#else
    void begin() {}
    void end() {}
    template <class Block>
    void run_block(const Block& block) {
        block();
    }
    template <class Stage>
    static void run_stage(const void*, const Stage& stage) {
        stage();
    }
#endif
};

int threads_asked() {
    const char* text = std::getenv("TOVEN_THREADS");
    if (text == nullptr) {
        return 0;
    }
    int value = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    return error == std::errc() && stop == end && value >= 1 && value <= max_threads ? value : 0;
}

}  // namespace

int allowed_processors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        return std::clamp(CPU_COUNT(&set), 1, max_threads);
    }
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, max_threads);
}

int usable_threads() {
    const int asked = threads_asked();
    return asked > 0 ? asked : allowed_processors();
}

// The arena keeps a job to its own number of threads, whatever other jobs of the process do.
// More threads than processors (asked for with TOVEN_THREADS) must be allowed first, or the
// library refuses them with a warning on standard error.
struct Workers::Arena {
    explicit Arena(int threads) {
        if (threads > tbb::info::default_concurrency()) {
            allowance.emplace(tbb::global_control::max_allowed_parallelism,
                              static_cast<std::size_t>(threads));
        }
        arena.initialize(threads);
    }
    std::optional<tbb::global_control> allowance;
    tbb::task_arena arena;
};

Workers::Workers(int threads) : threads_(std::clamp(threads, 1, max_threads)) {
    if (threads_ > 1) {
        arena_ = std::make_unique<Arena>(threads_);
    }
}

Workers::~Workers() = default;

void Workers::for_each_block(std::size_t count, std::size_t grain,
                             const std::function<void(std::size_t, std::size_t)>& body) {
    grain = std::max<std::size_t>(grain, 1);
    if (!arena_ || count <= grain) {
        clear_upper_vector_state();
        for (std::size_t begin = 0; begin < count; begin += grain) {
            body(begin, std::min(count, begin + grain));
        }
        return;
    }
    HandOver hand_over;
    hand_over.begin();
    try {
        arena_->arena.execute([&] {
            tbb::parallel_for(tbb::blocked_range<std::size_t>(0, count, grain),
                              [&](const tbb::blocked_range<std::size_t>& range) {
                                  hand_over.run_block([&] {
                                      // Each thread runs the formula at full speed, whatever
                                      // the code it ran before left in the vector registers.
                                      clear_upper_vector_state();
                                      body(range.begin(), range.end());
                                  });
                              });
        });
    } catch (...) {
        hand_over.end();
        throw;
    }
    hand_over.end();
}

void Workers::run_beside(const std::function<void()>& foreground,
                         const std::function<void()>& background) {
    if (!arena_) {
        foreground();
        background();
        return;
    }
    HandOver hand_over;
    hand_over.begin();
    arena_->arena.execute([&] {
        tbb::task_group group;
        group.run([&] { hand_over.run_block(background); });
        std::exception_ptr failure;
        try {
            foreground();
        } catch (...) {
            failure = std::current_exception();
        }
        // The background may refer to what the foreground's caller holds: it ends first.
        try {
            group.wait();
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
            }
        }
        hand_over.end();
        if (failure) {
            std::rethrow_exception(failure);
        }
    });
}

void Workers::run_in_order(std::size_t in_flight, const std::function<bool(std::size_t)>& read,
                           const std::function<void(std::size_t)>& work,
                           const std::function<void(std::size_t)>& write) {
    in_flight = std::max<std::size_t>(in_flight, 1);
    if (!arena_) {
        clear_upper_vector_state();
        for (std::size_t item = 0; read(item % in_flight); ++item) {
            work(item % in_flight);
            write(item % in_flight);
        }
        return;
    }
    // Items are read and written in one order, so the item read as number i takes the slot
    // of item i - in_flight, which has been written by then.
    std::size_t count = 0;
    // What ThreadSanitizer is told each item's stages meet at, and the reads and the writes.
    std::vector<char> items(in_flight);
    char reads = 0;
    char writes = 0;
    const auto meet_all = [&] {
        for (char& item : items) {
            HandOver::run_stage(&item, [] {});
        }
        HandOver::run_stage(&reads, [] {});
        HandOver::run_stage(&writes, [] {});
    };
    const auto read_stage = tbb::make_filter<void, std::size_t>(
        tbb::filter_mode::serial_in_order, [&](tbb::flow_control& control) {
            std::size_t slot = 0;
            bool more = false;
            HandOver::run_stage(&reads, [&] {
                slot = count++ % in_flight;
                HandOver::run_stage(&items[slot], [&] { more = read(slot); });
            });
            if (!more) {
                control.stop();
            }
            return slot;
        });
    const auto work_stage = tbb::make_filter<std::size_t, std::size_t>(
        tbb::filter_mode::parallel, [&](std::size_t slot) {
            HandOver::run_stage(&items[slot], [&] {
                clear_upper_vector_state();
                work(slot);
            });
            return slot;
        });
    const auto write_stage = tbb::make_filter<std::size_t, void>(
        tbb::filter_mode::serial_in_order, [&](std::size_t slot) {
            HandOver::run_stage(&writes,
                                [&] { HandOver::run_stage(&items[slot], [&] { write(slot); }); });
        });
    meet_all();
    arena_->arena.execute(
        [&] { tbb::parallel_pipeline(in_flight, read_stage & work_stage & write_stage); });
    meet_all();
}

}  // namespace toven::platform
