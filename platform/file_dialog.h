// The desktop's dialogs that ask for the name of a file to save or to open. A test queues the
// answers beforehand and reads back every dialog shown, so that no test ever waits on a dialog.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace toven::platform {

class Window;

// A kind of file the dialog offers, as {"PNG image", "png"}.
struct FileType {
    std::string description;
    std::string extension;  // without the dot; an open dialog's may list several, blank apart
};

// Shows a modal dialog owned by `owner` (may be null) that proposes `suggested_name` in the
// current folder and offers `types`, the first one chosen at first. A name typed without an
// extension gets the chosen type's. Returns the path, or nothing when the person cancels
// (and where no dialog can be shown).
std::optional<std::string> ask_save_path(Window* owner, const std::string& caption,
                                         const std::string& suggested_name,
                                         const std::vector<FileType>& types);

// Shows a modal dialog owned by `owner` (may be null) that asks for an existing file of one of
// `types` in the current folder. Returns the path, or nothing when the person cancels (and
// where no dialog can be shown).
std::optional<std::string> ask_open_path(Window* owner, const std::string& caption,
                                         const std::vector<FileType>& types);

// The test seam: while it is active no real dialog is shown; each dialog takes the next
// queued answer, and cancels when the queue is empty.
struct ShownFileDialog {
    Window* owner = nullptr;
    std::string caption;
    std::string suggested_name;
    std::vector<FileType> types;
    bool to_open = false;  // an open dialog rather than a save dialog
};

class FileDialogSeam {
  public:
    FileDialogSeam();
    ~FileDialogSeam();
    FileDialogSeam(const FileDialogSeam&) = delete;
    FileDialogSeam& operator=(const FileDialogSeam&) = delete;

    // The next dialog returns `path` exactly as given, as if the person had typed it.
    void queue_path(std::string path);
    void queue_cancel();
    const std::vector<ShownFileDialog>& shown() const;
};

}  // namespace toven::platform
