// A guard that sets TOVEN_THREADS (null: unsets it) while it lives, then puts back what was.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace toven::test_support {

class ScopedThreads {
  public:
    explicit ScopedThreads(const char* threads) {
        if (const char* old = std::getenv("TOVEN_THREADS")) {
            saved_ = old;
        }
        set(threads);
    }
    ~ScopedThreads() { set(saved_ ? saved_->c_str() : nullptr); }
    ScopedThreads(const ScopedThreads&) = delete;
    ScopedThreads& operator=(const ScopedThreads&) = delete;

  private:
    static void set(const char* threads) {
        threads != nullptr ? ::setenv("TOVEN_THREADS", threads, 1) : ::unsetenv("TOVEN_THREADS");
    }
    std::optional<std::string> saved_;
};

}  // namespace toven::test_support
