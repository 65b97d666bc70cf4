// A guard that sets TOVEN_THREADS for the work the test does while it lives, and puts back
// what was there.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace toven::test_support {

class ScopedThreads {
  public:
    // Null unsets the variable.
    explicit ScopedThreads(const char* threads) {
        if (const char* old = std::getenv("TOVEN_THREADS")) {
            saved_ = old;
        }
        set(threads);
    }
    explicit ScopedThreads(int threads) : ScopedThreads(std::to_string(threads).c_str()) {}
    ~ScopedThreads() { set(saved_ ? saved_->c_str() : nullptr); }
    ScopedThreads(const ScopedThreads&) = delete;
    ScopedThreads& operator=(const ScopedThreads&) = delete;

  private:
    static void set(const char* threads) {
        if (threads != nullptr) {
            ::setenv("TOVEN_THREADS", threads, 1);
        } else {
            ::unsetenv("TOVEN_THREADS");
        }
    }
    std::optional<std::string> saved_;
};

}  // namespace toven::test_support
