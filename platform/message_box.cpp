#include "platform/message_box.h"

#include <deque>
#include <utility>

namespace toven::platform {

namespace {

// What the live seams hold; null while no seam lives, and then boxes are real dialogs.
// Seams made while one lives share its queue and record.
struct SeamState {
    std::deque<MessageBoxAnswer> answers;
    std::vector<ShownMessageBox> shown;
    int seams = 0;
};
SeamState* active_seam = nullptr;

MessageBoxAnswer take_queued_answer(SeamState& seam, MessageBoxButtons buttons) {
    if (seam.answers.empty()) {
        return default_answer(buttons);
    }
    MessageBoxAnswer answer = seam.answers.front();
    seam.answers.pop_front();
    return answer;
}

}  // namespace

MessageBoxAnswer default_answer(MessageBoxButtons buttons) {
    return buttons == MessageBoxButtons::ok ? MessageBoxAnswer::ok : MessageBoxAnswer::no;
}

MessageBoxSeam::MessageBoxSeam() {
    if (active_seam == nullptr) {
        active_seam = new SeamState;
    }
    ++active_seam->seams;
}

MessageBoxSeam::~MessageBoxSeam() {
    if (--active_seam->seams == 0) {
        delete active_seam;
        active_seam = nullptr;
    }
}

void MessageBoxSeam::queue_answer(MessageBoxAnswer answer) {
    active_seam->answers.push_back(answer);
}

const std::vector<ShownMessageBox>& MessageBoxSeam::shown() const {
    return active_seam->shown;
}

void MessageBoxSeam::clear_shown() {
    active_seam->shown.clear();
}

bool MessageBoxSeam::live() {
    return active_seam != nullptr;
}

MessageBoxAnswer MessageBoxSeam::answer(ShownMessageBox box) {
    const MessageBoxButtons buttons = box.buttons;
    active_seam->shown.push_back(std::move(box));
    return take_queued_answer(*active_seam, buttons);
}

}  // namespace toven::platform
