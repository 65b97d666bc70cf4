#include "platform/message_box.h"

#include <deque>
#include <utility>

#include "platform/seam_answers.h"
#include "platform/seam_state.h"

namespace toven::platform {

namespace {

// Seams made while one lives share its queue and record.
struct SeamState {
    std::deque<MessageBoxAnswer> answers;
    std::vector<ShownMessageBox> shown;
};
SharedSeamState<SeamState> seam;

MessageBoxAnswer take_queued_answer(SeamState& state, MessageBoxButtons buttons) {
    if (state.answers.empty()) {
        return default_answer(buttons);
    }
    MessageBoxAnswer answer = state.answers.front();
    state.answers.pop_front();
    return answer;
}

}  // namespace

MessageBoxAnswer default_answer(MessageBoxButtons buttons) {
    return buttons == MessageBoxButtons::ok ? MessageBoxAnswer::ok : MessageBoxAnswer::no;
}

MessageBoxSeam::MessageBoxSeam() {
    seam.join();
}

MessageBoxSeam::~MessageBoxSeam() {
    seam.leave();
}

void MessageBoxSeam::queue_answer(MessageBoxAnswer answer) {
    seam.state().answers.push_back(answer);
}

const std::vector<ShownMessageBox>& MessageBoxSeam::shown() const {
    return seam.state().shown;
}

void MessageBoxSeam::clear_shown() {
    seam.state().shown.clear();
}

bool seam_answers::message_box_live() {
    return seam.live();
}

MessageBoxAnswer seam_answers::message_box(ShownMessageBox box) {
    const MessageBoxButtons buttons = box.buttons;
    seam.state().shown.push_back(std::move(box));
    return take_queued_answer(seam.state(), buttons);
}

}  // namespace toven::platform
