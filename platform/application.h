// The window system's session for this process. Nothing may draw text, open a window or
// print before one exists. `headless` needs no display (offscreen images and printing only)
// and starts quickly; `interactive` brings the widgets for windows, menus and dialogs.
#pragma once

#include <memory>

namespace toven::platform {

enum class SessionKind { headless, interactive, test };

class Session {
  public:
    Session(int& argc, char** argv, SessionKind kind);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // True where a display can show windows.
    static bool display_available();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace toven::platform
