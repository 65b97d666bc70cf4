// Work spread over the processors. A job asks how many threads it may use, then runs its
// blocks through Workers, which never uses more threads than it was given; one thread runs
// everything on the caller's own.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace toven::platform {

// The most threads a job uses, whatever it is told: beyond the processors of any machine
// we run on, and each thread costs a stack.
inline constexpr int max_threads = 256;

// The threads a job may use: TOVEN_THREADS when it holds a whole number from 1 to max_threads
// (anything else there is ignored), else the processors this process may run on, as taskset
// or a container's CPU set limits them.
int usable_threads();
// The processors this process may run on: the most threads that really run at once.
int allowed_processors();

class Workers {
  public:
    // Up to `threads` threads, the caller's included; fewer than 1 counts as 1.
    explicit Workers(int threads);
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    int threads() const { return threads_; }

    // Calls body(begin, end) on blocks of about `grain` indices that cover [0, count) once
    // each, in no fixed order and on any of the threads; returns when all have run. An
    // exception from a block is thrown again here, once the others have ended. Every thread
    // clears its upper vector state (vector_state.h) before its blocks run.
    void for_each_block(std::size_t count, std::size_t grain,
                        const std::function<void(std::size_t, std::size_t)>& body);

    // Runs `foreground` on the caller's thread while `background` runs beside it (it may call
    // for_each_block, whose blocks the caller joins once its own work is done); returns when
    // both have ended. With one thread, foreground first. An exception from either is thrown
    // again here, after both have ended.
    void run_beside(const std::function<void()>& foreground,
                    const std::function<void()>& background);

    // Passes items through three stages until `read` returns false: `read` and `write` take
    // one item at a time, in the order read; `work` runs on any thread, on several items at
    // once. An item is named by its slot, 0 to in_flight - 1, which no other item holds from
    // its read to its write. With one thread, each item is written before the next is read.
    // An exception from a stage is thrown again here, once the items in flight have ended.
    void run_in_order(std::size_t in_flight, const std::function<bool(std::size_t)>& read,
                      const std::function<void(std::size_t)>& work,
                      const std::function<void(std::size_t)>& write);

  private:
    struct Arena;
    int threads_;
    std::unique_ptr<Arena> arena_;  // null for one thread
};

}  // namespace toven::platform
