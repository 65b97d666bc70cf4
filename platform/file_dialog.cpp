#include "platform/file_dialog.h"

#include <deque>
#include <utility>

namespace toven::platform {

namespace {

// What the live seams hold; null while none lives, and then dialogs are real. Seams made
// while one lives share its queue and record. A cancel is an empty answer.
struct SeamState {
    std::deque<std::optional<std::string>> answers;
    std::vector<ShownFileDialog> shown;
    int seams = 0;
};
SeamState* active_seam = nullptr;

}  // namespace

FileDialogSeam::FileDialogSeam() {
    if (active_seam == nullptr) {
        active_seam = new SeamState;
    }
    ++active_seam->seams;
}

FileDialogSeam::~FileDialogSeam() {
    if (--active_seam->seams == 0) {
        delete active_seam;
        active_seam = nullptr;
    }
}

void FileDialogSeam::queue_path(std::string path) {
    active_seam->answers.emplace_back(std::move(path));
}

void FileDialogSeam::queue_cancel() {
    active_seam->answers.emplace_back(std::nullopt);
}

const std::vector<ShownFileDialog>& FileDialogSeam::shown() const {
    return active_seam->shown;
}

bool FileDialogSeam::live() {
    return active_seam != nullptr;
}

std::optional<std::string> FileDialogSeam::answer(ShownFileDialog dialog) {
    active_seam->shown.push_back(std::move(dialog));
    if (active_seam->answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(active_seam->answers.front());
    active_seam->answers.pop_front();
    return answer;
}

}  // namespace toven::platform
