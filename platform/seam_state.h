// What the live test seams of one kind share. The first seam made creates the state and the
// last one gone deletes it; while no seam lives there is none, and the real service answers.
#pragma once

#include <memory>

namespace toven::platform {

template <typename State>
class SharedSeamState {
  public:
    void join() {
        if (seams_++ == 0) {
            state_ = std::make_unique<State>();
        }
    }
    void leave() {
        if (--seams_ == 0) {
            state_.reset();
        }
    }
    bool live() const { return seams_ > 0; }
    // Only while a seam lives.
    State& state() { return *state_; }

  private:
    std::unique_ptr<State> state_;
    int seams_ = 0;
};

}  // namespace toven::platform
