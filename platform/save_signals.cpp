#include "platform/save_signals.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace toven::platform {

namespace {

// Every signal whose default action ends the program and that a handler can catch, but
// SIGXFSZ: a file-size limit is a failed write, which the save reports and cleans up after.
constexpr std::array<int, SaveSignals::signal_count> ending_signals{
    SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGUSR1, SIGUSR2,
    SIGPIPE, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU};

// A signal handler may touch nothing but static storage, lock-free atomics and
// async-signal-safe calls, so what it needs lives here rather than in the objects. The
// handler may run on any thread, hence atomics rather than a blocked signal mask.
char leftover[PATH_MAX];
std::atomic<bool> leftover_named{false};
std::atomic<bool> held{false};
std::atomic<int> waiting_signal{0};

[[noreturn]] void end_program(int signal) {
    if (leftover_named.load()) {
        ::unlink(leftover);
    }
    ::_exit(128 + signal);
}

extern "C" void on_ending_signal(int signal) {
    if (held.load()) {
        waiting_signal.store(signal);
        // The guard may have ended meanwhile without seeing it: then it acts here.
        if (held.load() || waiting_signal.exchange(0) == 0) {
            return;
        }
    }
    end_program(signal);
}

}  // namespace

SaveSignals::SaveSignals() {
    struct sigaction action {};
    action.sa_handler = on_ending_signal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < ending_signals.size(); ++i) {
        struct sigaction previous {};
        replaced_[i] = ::sigaction(ending_signals[i], nullptr, &previous) == 0 &&
                       previous.sa_handler == SIG_DFL &&
                       ::sigaction(ending_signals[i], &action, nullptr) == 0;
    }
}

SaveSignals::~SaveSignals() {
    leftover_named.store(false);
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    for (std::size_t i = 0; i < ending_signals.size(); ++i) {
        if (replaced_[i]) {
            ::sigaction(ending_signals[i], &fallback, nullptr);
        }
    }
}

bool SaveSignals::remove_on_signal(const std::string& path) {
    leftover_named.store(false);
    if (path.empty()) {
        return true;
    }
    if (path.size() >= sizeof leftover) {
        return false;
    }
    std::memcpy(leftover, path.c_str(), path.size() + 1);
    leftover_named.store(true);
    return true;
}

HeldSignals::HeldSignals() {
    held.store(true);
}

HeldSignals::~HeldSignals() {
    held.store(false);
    if (const int signal = waiting_signal.exchange(0); signal != 0) {
        end_program(signal);
    }
}

}  // namespace toven::platform
