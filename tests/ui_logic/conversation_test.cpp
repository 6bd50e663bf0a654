// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/conversation.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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
    marks.MarkRead("W1AAA", shown.front().key, shown.front().time);
    EXPECT_EQ(marks.Unread(me.list.Snapshot(), "K1ABC", "W1AAA"), 1u);
    marks.MarkRead("W1AAA", shown.back().key, shown.back().time);
    EXPECT_EQ(marks.Unread(me.list.Snapshot(), "K1ABC", "W1AAA"), 0u);
    me.list.ReceiveMessage("W1AAA", "K1ABC", "three{3");
    me.list.ReceiveMessage("W1AAA", "K1ABC", "?APRSP");  // answered by the station itself
    EXPECT_EQ(marks.Summaries(me.list.Snapshot(), "K1ABC")[0].unread, 1u);
    EXPECT_EQ(marks.TotalUnread(me.list.Snapshot(), "K1ABC"), 1u);
}

// The next run stores the same messages under new keys: what was read stays read by its
// time (in whatever zone the clock is now), what came after stays unread.
TEST_F(Conversation, ReadMarksOutliveTheRun) {
    clock.Set(CDateTime(2026, 1, 1, 12, 0, 0));
    me.list.ReceiveMessage("W1AAA", "K1ABC", "read{1");
    ConversationReadMarks marks;
    const ConversationLine read = ConversationWith(me.list.Snapshot(), "K1ABC", "W1AAA").back();
    marks.MarkRead("W1AAA", read.key, read.time);
    clock.Set(CDateTime(2026, 1, 1, 12, 0, 2));
    me.list.ReceiveMessage("W1AAA", "K1ABC", "later{2");
    // 12:00 local an hour behind UTC, and a second for the log's stamps.
    const std::string saved = marks.Save(60);
    EXPECT_EQ(saved, "W1AAA 1767272401000");
    // A malformed pair ends the line; two hours behind UTC the same instant is 11:00 local.
    for (const auto& [line, bias, unread] :
         {std::tuple(saved, 60, 1u), std::tuple(saved + " W1BBB x", 60, 1u),
          std::tuple(saved, 120, 2u)}) {
        ConversationReadMarks next;
        next.Load(line, bias);
        EXPECT_EQ(next.Unread(me.list.Snapshot(), "K1ABC", "W1AAA"), unread) << line << bias;
    }
}

}  // namespace
}  // namespace plovane
