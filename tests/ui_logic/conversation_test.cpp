// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/conversation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/message_test_support.h"

namespace plovane {
namespace {

using testing::RecordingHost;
using testing::TestStation;

class Conversation : public ::testing::Test {
  protected:
    FakeClock clock;
    RecordingHost host;
    TestStation me{"K1ABC", clock, host};

    uint64_t Send(const std::string& to, const std::string& text) {
        return me.list.SendNewMessage(to, text);
    }
    void Answer(uint64_t key, const std::string& verb) {
        me.list.ReceiveMessage("W1AAA", "K1ABC", verb + me.list.Find(key)->number);
    }
};

TEST_F(Conversation, HoldsBothSidesInTimeOrderWithMarks) {
    clock.Set(CDateTime(2026, 1, 1, 12, 5, 0));
    Send("W1AAA", "sent");
    const uint64_t acked = Send("W1AAA", "acked");
    const uint64_t rejected = Send("W1AAA", "rejected");
    Send("W1AAA", "retried");
    Answer(acked, "ack");
    Answer(rejected, "rej");
    me.list.SendPending("W1AAA");  // the unanswered go out twice more
    me.list.SendPending("W1AAA");
    // Stored later but written earlier: shown first.
    clock.Set(CDateTime(2026, 1, 1, 12, 0, 0));
    me.list.ReceiveMessage("W1AAA", "K1ABC", "first{1");
    // Not this conversation: another station, another SSID of ours, a third party, a bulletin.
    me.list.ReceiveMessage("W1BBB", "K1ABC", "other{2");
    me.list.ReceiveMessage("W1AAA", "K1ABC-5", "other ssid{3");
    me.list.ReceiveMessage("W1AAA", "W1BBB", "between them{4");
    me.list.ReceiveMessage("W1AAA", "BLN1", "bulletin");

    struct Row {
        bool ours;
        std::string text, mark;
    };
    const std::vector<Row> expected = {{false, "first", ""},
                                       {true, "sent", "retrying (2)"},
                                       {true, "acked", "acked"},
                                       {true, "rejected", "rejected"},
                                       {true, "retried", "retrying (2)"}};
    const auto lines = ConversationWith(me.list.Snapshot(), "K1ABC", "W1AAA");
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(lines[i].ours, expected[i].ours);
        EXPECT_EQ(lines[i].text, expected[i].text);
        EXPECT_EQ(lines[i].mark, expected[i].mark);
    }
    EXPECT_TRUE(ConversationWith(me.list.Snapshot(), "", "W1AAA").empty());

    // A fresh message reads "sent"; one waiting for the slot "queued".
    const uint64_t fresh = Send("W1AAA", "fresh");
    EXPECT_EQ(OwnMessageMark(*me.list.Find(fresh)), "sent");
    me.list.Resend(fresh);
    EXPECT_EQ(OwnMessageMark(*me.list.Find(fresh)), "queued");
}

TEST_F(Conversation, UnreadCountsUntilTheWindowShowsThem) {
    Send("W1BBB", "hello");
    me.list.ReceiveMessage("W1AAA", "K1ABC", "one{1");
    me.list.ReceiveMessage("W1AAA", "K1ABC", "two{2");
    Send("BLN1", "bulletin");
    ConversationReadMarks marks;
    auto summaries = marks.Summaries(me.list.Snapshot(), "K1ABC");
    ASSERT_EQ(summaries.size(), 2u);  // newest exchange first; our bulletin is none
    EXPECT_EQ(ConversationSummaryText(summaries[0]), "W1AAA (2 messages, 2 unread)");
    EXPECT_EQ(ConversationSummaryText(summaries[1]), "W1BBB (1 message)");

    const auto shown = ConversationWith(me.list.Snapshot(), "K1ABC", "W1AAA");
    marks.MarkRead("W1AAA", shown.front().key);
    EXPECT_EQ(marks.Unread(me.list.Snapshot(), "K1ABC", "W1AAA"), 1u);
    marks.MarkRead("W1AAA", shown.back().key);
    EXPECT_EQ(marks.Unread(me.list.Snapshot(), "K1ABC", "W1AAA"), 0u);
    me.list.ReceiveMessage("W1AAA", "K1ABC", "three{3");
    EXPECT_EQ(marks.Summaries(me.list.Snapshot(), "K1ABC")[0].unread, 1u);
}

}  // namespace
}  // namespace plovane
