// The message-box seam: queued answers, defaults, and the record of boxes shown; and the real
// boxes as they stand on the screen, wide enough for their whole captions.
#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "platform/window.h"
#include "tests/support/event_injection.h"

namespace toven::platform {
namespace {

TEST(MessageBoxSeam, AnswersInTheOrderQueued) {
    MessageBoxSeam seam;
    seam.queue_answer(MessageBoxAnswer::yes);
    seam.queue_answer(MessageBoxAnswer::no);
    EXPECT_EQ(message_box(nullptr, "PDF", "Shall we print to ", MessageBoxButtons::yes_no),
              MessageBoxAnswer::yes);
    EXPECT_EQ(message_box(nullptr, "Colour ?", "Notice", MessageBoxButtons::yes_no),
              MessageBoxAnswer::no);
}

TEST(MessageBoxSeam, EmptyQueueGivesOkOrNo) {
    MessageBoxSeam seam;
    EXPECT_EQ(message_box(nullptr, "Printing is Finished", "Note", MessageBoxButtons::ok),
              MessageBoxAnswer::ok);
    EXPECT_EQ(message_box(nullptr, "PDF", "Shall we print to ", MessageBoxButtons::yes_no),
              MessageBoxAnswer::no);
}

TEST(MessageBoxSeam, RecordsEveryBoxShownUntilCleared) {
    auto owner = create_offscreen_window(10, 10);
    MessageBoxSeam seam;
    message_box(owner.get(), "f(x,y) = sin(", "Parse error: therefore f(x,y) = 0",
                MessageBoxButtons::ok);
    message_box(nullptr, "PDF", "Shall we print to ", MessageBoxButtons::yes_no);
    ASSERT_EQ(seam.shown().size(), 2u);
    EXPECT_EQ(seam.shown()[0].owner, owner.get());
    EXPECT_EQ(seam.shown()[0].text, "f(x,y) = sin(");
    EXPECT_EQ(seam.shown()[0].caption, "Parse error: therefore f(x,y) = 0");
    EXPECT_EQ(seam.shown()[0].buttons, MessageBoxButtons::ok);
    EXPECT_EQ(seam.shown()[1].owner, nullptr);
    EXPECT_EQ(seam.shown()[1].buttons, MessageBoxButtons::yes_no);
    seam.clear_shown();
    EXPECT_TRUE(seam.shown().empty());
}

TEST(MessageBoxSeam, NewSeamStartsEmpty) {
    {
        MessageBoxSeam seam;
        seam.queue_answer(MessageBoxAnswer::yes);
        message_box(nullptr, "first", "", MessageBoxButtons::ok);
    }
    MessageBoxSeam seam;
    EXPECT_TRUE(seam.shown().empty());
    EXPECT_EQ(message_box(nullptr, "second", "", MessageBoxButtons::yes_no), MessageBoxAnswer::no);
}

TEST(MessageBoxSeam, SeamWithinASeamSharesItsQueueAndRecord) {
    MessageBoxSeam outer;
    outer.queue_answer(MessageBoxAnswer::yes);
    {
        MessageBoxSeam inner;
        EXPECT_EQ(message_box(nullptr, "inner", "", MessageBoxButtons::yes_no),
                  MessageBoxAnswer::yes);
    }
    message_box(nullptr, "outer", "", MessageBoxButtons::ok);
    ASSERT_EQ(outer.shown().size(), 2u);
    EXPECT_EQ(outer.shown()[1].text, "outer");
}

// The width of the program's first boxes, which showed window managers' title bars
// "Shall… nt to".
constexpr int old_box_width = 188;

TEST(RealMessageBox, KeepsItsTextAndButtonsAndShowsItsWholeCaption) {
    struct Case {
        const char* name;
        std::string text;
        std::string caption;
        MessageBoxButtons buttons;
        MessageBoxAnswer answer;
        std::vector<std::string> button_texts;
    } cases[] = {
        {"the printing question",
         "PDF",
         "Shall we print to ",
         MessageBoxButtons::yes_no,
         MessageBoxAnswer::yes,
         {"&Yes", "&No"}},
        {"the colour question",
         "Colour ?",
         "Notice",
         MessageBoxButtons::yes_no,
         MessageBoxAnswer::no,
         {"&Yes", "&No"}},
        {"a parse error",
         "f(x,y) = sin(",
         "Parse error: therefore f(x,y) = 0",
         MessageBoxButtons::ok,
         MessageBoxAnswer::ok,
         {"OK"}},
        {"the end of printing",
         "Printing is Finished",
         "Note",
         MessageBoxButtons::ok,
         MessageBoxAnswer::ok,
         {"OK"}},
        {"a printer name longer than the caption",
         std::string(99, 'a'),
         "Shall we print to ",
         MessageBoxButtons::yes_no,
         MessageBoxAnswer::no,
         {"&Yes", "&No"}},
    };
    auto owner = create_offscreen_window(10, 10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        inject::ScreenMessageBox seen;
        inject::answer_next_message_box(c.answer, seen);
        EXPECT_EQ(message_box(owner.get(), c.text, c.caption, c.buttons), c.answer);
        EXPECT_EQ(seen.caption, c.caption);
        EXPECT_EQ(seen.text, c.text);
        EXPECT_EQ(seen.buttons, c.button_texts);
        EXPECT_GE(seen.width, title_bar_width(c.caption));
    }
}

TEST(RealMessageBox, TitleBarRoomGrowsWithTheCaptionBesideTheButtons) {
    const int parse_error = title_bar_width("Parse error: therefore f(x,y) = 0");
    const int printing = title_bar_width("Shall we print to ");
    const int note = title_bar_width("Note");
    const int buttons_alone = title_bar_width("");
    EXPECT_GT(parse_error, printing);
    EXPECT_GT(printing, note);
    EXPECT_GT(note, buttons_alone);
    EXPECT_GT(buttons_alone, 0);
    EXPECT_GT(printing, old_box_width);
}

}  // namespace
}  // namespace toven::platform
