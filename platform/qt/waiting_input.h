// Input that waits for the event loop's next round before it reaches a window procedure: a
// later input of the same kind takes its place, so a procedure that answers slowly (a whole
// page for every step of the hand) sees where the hand is now, never a queue of the places it
// passed. Internal to the platform layer.
#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

namespace toven::platform::qt {

// One message from one input event, with the modifier keys held as the event was made.
struct Input {
    unsigned message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    Qt::KeyboardModifiers held;
};

// Whether the input waits rather than going to the procedure at once: moves of the mouse, keys
// repeated by holding them, and a slider's moves except the thumb's release.
bool may_wait(const Input& input);

// The one message that stands for `waiting` and then `next`, or none when both must go: a move
// stands for the moves before it, a slider's move for that slider's earlier ones, and a held
// key's repeats add up in the repeat count, as the old window system counted them.
std::optional<Input> joined(const Input& waiting, const Input& next);

}  // namespace toven::platform::qt
