#include "platform/file_dialog.h"

#include <deque>

#include "platform/qt/file_dialog_box.h"
#include "platform/qt/message_box_dialog.h"

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

std::optional<std::string> seam_answer(ShownFileDialog shown) {
    active_seam->shown.push_back(std::move(shown));
    if (active_seam->answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(active_seam->answers.front());
    active_seam->answers.pop_front();
    return answer;
}

}  // namespace

std::optional<std::string> ask_save_path(Window* owner, const std::string& caption,
                                         const std::string& suggested_name,
                                         const std::vector<FileType>& types) {
    if (active_seam != nullptr) {
        return seam_answer({owner, caption, suggested_name, types, false});
    }
    if (!qt::can_show_dialogs()) {
        return std::nullopt;
    }
    return qt::show_save_dialog(owner, caption, suggested_name, types);
}

std::optional<std::string> ask_open_path(Window* owner, const std::string& caption,
                                         const std::vector<FileType>& types) {
    if (active_seam != nullptr) {
        return seam_answer({owner, caption, {}, types, true});
    }
    if (!qt::can_show_dialogs()) {
        return std::nullopt;
    }
    return qt::show_open_dialog(owner, caption, types);
}

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

}  // namespace toven::platform
