// Modal message boxes. A test queues the answers beforehand and reads back every box shown,
// so that no test ever waits on a dialog.
#pragma once

#include <string>
#include <vector>

namespace toven::platform {

class Window;

enum class MessageBoxButtons { ok, yes_no };
enum class MessageBoxAnswer { ok, yes, no };

// Shows a box owned by `owner` (may be null) and waits for the answer. The box is at least
// title_bar_width(caption) wide, so a window manager shows its whole caption.
MessageBoxAnswer message_box(Window* owner, const std::string& text, const std::string& caption,
                             MessageBoxButtons buttons);

// The width in pixels a title bar needs to show `caption` whole beside its buttons.
int title_bar_width(const std::string& caption);

// The answer of a box that nobody can answer: OK, or No to a question.
MessageBoxAnswer default_answer(MessageBoxButtons buttons);

// The test seam: while it is active no real box is shown; each box takes the next queued
// answer (OK for a box with one button when the queue is empty, No for a yes/no box).
struct ShownMessageBox {
    Window* owner = nullptr;
    std::string text;
    std::string caption;
    MessageBoxButtons buttons = MessageBoxButtons::ok;
};

class MessageBoxSeam {
  public:
    MessageBoxSeam();
    ~MessageBoxSeam();
    MessageBoxSeam(const MessageBoxSeam&) = delete;
    MessageBoxSeam& operator=(const MessageBoxSeam&) = delete;

    void queue_answer(MessageBoxAnswer answer);
    const std::vector<ShownMessageBox>& shown() const;
    void clear_shown();
};

}  // namespace toven::platform
