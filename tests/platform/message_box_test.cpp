// The message-box seam: queued answers, defaults, and the record of boxes shown.
#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "platform/window.h"

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

}  // namespace
}  // namespace toven::platform
