// What the signals that end a program by default (SIGHUP, SIGINT, SIGTERM and the others
// that can be caught) do while a file is being saved: they end the program with status 128 +
// the signal's number, as a shell reports a program that a signal ended, after removing the
// half-written file that has a name. SIGKILL cannot be caught, so it leaves that file.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace toven::platform {

// While it lives, each of those signals that still has its default action ends the
// program this way; a signal the program ignores (a run under nohup) stays ignored. One
// SaveSignals lives at a time.
class SaveSignals {
  public:
    // How many signals it catches.
    static constexpr std::size_t signal_count = 11;

    SaveSignals();
    ~SaveSignals();
    SaveSignals(const SaveSignals&) = delete;
    SaveSignals& operator=(const SaveSignals&) = delete;

    // The file to remove if a signal ends the program, or "" for none. False when the name is
    // too long to keep.
    bool remove_on_signal(const std::string& path);

  private:
    std::array<bool, signal_count> replaced_{};  // which signals' actions this one set
};

// While it lives, a signal that asks the program to end waits: what it guards (a file taking
// its target's place) is done whole, and the signal acts when it ends. Not nested.
class HeldSignals {
  public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;
};

}  // namespace toven::platform
