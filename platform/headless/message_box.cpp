// Message boxes where the program part has no widgets (the command line, pictures): no box can
// be shown, so each takes the answer nobody gives, unless a test seam answers it.
#include "platform/message_box.h"

#include "platform/seam_answers.h"

namespace toven::platform {

MessageBoxAnswer message_box(Window* owner, const std::string& text, const std::string& caption,
                             MessageBoxButtons buttons) {
    if (seam_answers::message_box_live()) {
        return seam_answers::message_box({owner, text, caption, buttons});
    }
    return default_answer(buttons);
}

}  // namespace toven::platform
