// What the store does with reply-acks, rejects and queries addressed to us.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message_test_support.h"
#include "messages/message_list.h"

namespace plovane {
namespace {

using testing::RecordingHost;
using testing::TestStation;
using Texts = std::vector<std::string>;

constexpr const char* kMe = "K1ABC";

class MessageReplies : public ::testing::Test {
  protected:
    FakeClock clock;
    RecordingHost host;
    TestStation me{kMe, clock, host};
    CMessageList& list = me.list;
};

TEST_F(MessageReplies, ReplyAckAcksOursAndSwitchesOurPacketsToThatForm) {
    const uint64_t ours = list.SendNewMessage("W1AW", "first");  // number 1
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :first{1\r"});

    list.ReceiveMessage("W1AW", kMe, "answer{7}1");
    EXPECT_TRUE(list.Find(ours)->acked);
    EXPECT_FALSE(list.Find(ours)->rejected);
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :ack7}\r"});

    // Every due packet goes out with a new message: our ack again, then the message.
    list.SendNewMessage("W1AW", "second");
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :ack7}\r", ":W1AW     :second{2}7\r"}));
    // Other stations still get the plain form.
    list.SendNewMessage("N0CALL", "plain");
    EXPECT_EQ(me.tnc.Take().back(), ":N0CALL   :plain{3\r");
}

TEST_F(MessageReplies, RejectStopsRetriesAndMarksTheMessage) {
    const uint64_t ours = list.SendNewMessage("W1AW", "go away?");
    me.tnc.Take();
    list.ReceiveMessage("W1AW", kMe, "rej1");
    const CMessage m = *list.Find(ours);
    EXPECT_TRUE(m.rejected);
    EXPECT_TRUE(m.acked);
    EXPECT_TRUE(host.sounds().empty()) << "a reject is no ack";
    list.SendPending({});
    EXPECT_TRUE(me.tnc.Take().empty());
    EXPECT_EQ(list.Count(), 1u);
}

TEST_F(MessageReplies, TextStartingWithAckIsAMessageAndIsAcked) {
    const uint64_t ours = list.SendNewMessage("W1AW", "hi");
    me.tnc.Take();
    list.ReceiveMessage("W1AW", kMe, "Acknowledged, thanks{7");
    EXPECT_FALSE(list.Find(ours)->acked);
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :hi{1\r", ":W1AW     :ack7\r"}));
    EXPECT_EQ(list.Count(), 2u);
}

TEST_F(MessageReplies, DirectedQueriesAreAnsweredOnceAMinute) {
    struct Case {
        const char* text;
        Texts sent;
        std::vector<QueryAnswer> answers;
    } cases[] = {
        {"?APRSP", {}, {QueryAnswer::kPosition}},
        {"?APRS?", {}, {QueryAnswer::kPosition}},
        {"?APRSS", {}, {QueryAnswer::kStatus}},
        {"?VER", {":W1AW     :Plovane 1.02\r"}, {}},
        {"?PING?", {":W1AW     :W1AW>APRS,DIGI*\r"}, {}},
        {"?WHAT", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        list.ReceiveMessage("W1AW", kMe, c.text, "W1AW>APRS,DIGI*");
        EXPECT_EQ(me.tnc.Take(), c.sent);
        EXPECT_EQ(me.transmit.Answers(), c.answers);
        // Asked again at once: no answer.
        list.ReceiveMessage("W1AW", kMe, c.text, "W1AW>APRS,DIGI*");
        EXPECT_TRUE(me.tnc.Take().empty());
        EXPECT_TRUE(me.transmit.Answers().empty());
    }
    clock.AdvanceMs(CMessageList::kQueryIntervalMs);
    list.ReceiveMessage("W1AW", kMe, "?APRSP");
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPosition});
    // A query to another station is not ours to answer.
    list.ReceiveMessage("N0CALL", "W1AW", "?APRSS");
    EXPECT_TRUE(me.transmit.Answers().empty());
}

TEST_F(MessageReplies, GeneralQueryArmsOurPositionAtMostOnceInFiveMinutes) {
    list.ReceiveMessage("W1AW", "", "?APRS?");
    list.ReceiveMessage("N0CALL", "", "?APRS?");
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPositionAfterDelay});
    clock.AdvanceMs(CMessageList::kGeneralQueryIntervalMs);
    list.ReceiveMessage("N0CALL", "", "?APRS?");
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPositionAfterDelay});
}

}  // namespace
}  // namespace plovane
