// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/message_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/message_test_support.h"

namespace plovane {
namespace {

using testing::RecordingHost;
using testing::TestStation;

class MessageActions : public ::testing::Test {
  protected:
    FakeClock clock;
    RecordingHost host;
    TestStation me{"K1ABC", clock, host};
    std::vector<std::string> dialogs;  // the preset of every send-message dialog opened
    MessageListActions actions{me.list, host, me.settings,
                               [this](const std::string& preset) { dialogs.push_back(preset); }};

    uint64_t Own() { return me.list.SendNewMessage("W1AW", "mine"); }
    uint64_t Theirs() {
        me.list.ReceiveMessage("W1AW", "K1ABC", "theirs{3");
        return me.list.Snapshot().back().key;
    }
    std::string LastBox() const {
        const auto boxes = host.boxes();
        return boxes.empty() ? std::string() : boxes.back().text;
    }
};

TEST_F(MessageActions, WithoutASelectionEachButtonAsks) {
    const uint64_t deleted = Theirs();
    ASSERT_TRUE(me.list.Delete(deleted));
    struct Case {
        bool (MessageListActions::*button)(std::optional<uint64_t>);
        const char* text;
    } cases[] = {
        {&MessageListActions::Reply, kSelectToReplyText},
        {&MessageListActions::Resend, kSelectToResendText},
        {&MessageListActions::Stop, kSelectToStopText},
        {&MessageListActions::Delete, kSelectToDeleteText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        // Nothing selected, or a row whose message the store no longer has.
        for (const auto selected : {std::optional<uint64_t>(), std::optional<uint64_t>(deleted)}) {
            host.Clear();
            EXPECT_FALSE((actions.*c.button)(selected));
            ASSERT_EQ(host.boxes().size(), 1u);
            EXPECT_EQ(host.boxes()[0].text, c.text);
            EXPECT_EQ(host.boxes()[0].icon, MessageBoxIcon::kExclamation);
        }
    }
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(MessageActions, NewAndReplyOpenTheDialog) {
    const uint64_t theirs = Theirs();
    EXPECT_TRUE(actions.New());
    EXPECT_TRUE(actions.Reply(theirs));
    EXPECT_EQ(dialogs, (std::vector<std::string>{"", "W1AW"}));
}

TEST_F(MessageActions, ResendAndStopOnlyForOwnMessages) {
    const uint64_t own = Own();
    const uint64_t theirs = Theirs();
    host.Clear();

    EXPECT_TRUE(actions.Stop(own));
    EXPECT_TRUE(me.list.Find(own)->acked);
    EXPECT_TRUE(actions.Resend(own));
    EXPECT_FALSE(me.list.Find(own)->acked);
    EXPECT_EQ(me.list.Find(own)->count, 0);
    EXPECT_TRUE(host.boxes().empty());
    EXPECT_EQ(host.messageChanges(), (std::vector<uint64_t>{own, own}));

    const CMessage before = *me.list.Find(theirs);
    for (auto button : {&MessageListActions::Stop, &MessageListActions::Resend}) {
        host.Clear();
        EXPECT_FALSE((actions.*button)(theirs));
        EXPECT_EQ(LastBox(), kNotOriginatorText);
        EXPECT_EQ(host.boxes().back().icon, MessageBoxIcon::kExclamation);
    }
    EXPECT_EQ(me.list.Find(theirs)->acked, before.acked);
    EXPECT_EQ(me.list.Find(theirs)->count, before.count);
}

TEST_F(MessageActions, DeleteAsksAndRemovesOnlyOnYes) {
    const uint64_t key = Theirs();
    host.Clear();
    host.QueueReply(MessageBoxResult::kNo);
    EXPECT_FALSE(actions.Delete(key));
    EXPECT_EQ(LastBox(), kDeleteQuestionText);
    EXPECT_EQ(host.boxes().back().icon, MessageBoxIcon::kQuestion);
    EXPECT_EQ(host.boxes().back().buttons, MessageBoxButtons::kYesNo);
    EXPECT_TRUE(me.list.Find(key).has_value());

    host.QueueReply(MessageBoxResult::kYes);
    EXPECT_TRUE(actions.Delete(key));
    EXPECT_FALSE(me.list.Find(key).has_value());
    EXPECT_EQ(host.messageChanges(), std::vector<uint64_t>{key});
}

}  // namespace
}  // namespace plovane
