#include "platform/file_dialog.h"

#include <deque>
#include <utility>

#include "platform/seam_answers.h"
#include "platform/seam_state.h"

namespace toven::platform {

namespace {

// Seams made while one lives share its queue and record. A cancel is an empty answer.
struct SeamState {
    std::deque<std::optional<std::string>> answers;
    std::vector<ShownFileDialog> shown;
};
SharedSeamState<SeamState> seam;

}  // namespace

FileDialogSeam::FileDialogSeam() {
    seam.join();
}

FileDialogSeam::~FileDialogSeam() {
    seam.leave();
}

void FileDialogSeam::queue_path(std::string path) {
    seam.state().answers.emplace_back(std::move(path));
}

void FileDialogSeam::queue_cancel() {
    seam.state().answers.emplace_back(std::nullopt);
}

const std::vector<ShownFileDialog>& FileDialogSeam::shown() const {
    return seam.state().shown;
}

bool seam_answers::file_dialog_live() {
    return seam.live();
}

std::optional<std::string> seam_answers::file_dialog(ShownFileDialog dialog) {
    seam.state().shown.push_back(std::move(dialog));
    if (seam.state().answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(seam.state().answers.front());
    seam.state().answers.pop_front();
    return answer;
}

}  // namespace toven::platform
