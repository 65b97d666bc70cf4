// The window system's session for this process. Nothing may draw text, open a window or
// print before one exists. `headless` needs no display (offscreen images and printing only)
// and starts quickly; `interactive` brings the widgets for windows, menus and dialogs, and
// where it cannot open the display after all, writes `no_display` to standard error and ends
// the process with status 1. Every session keeps the "C" rules for numbers.
#pragma once

#include <memory>
#include <string>

namespace toven::platform {

enum class SessionKind { headless, interactive, test };

class Session {
  public:
    Session(int& argc, char** argv, SessionKind kind, const std::string& no_display = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // True where a display can show windows.
    static bool display_available();
    // True when this session's windows reach a screen that someone sees: not when they are
    // drawn only in memory (the offscreen and minimal window systems), where a box would wait
    // for an answer that never comes.
    bool watched() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace toven::platform
