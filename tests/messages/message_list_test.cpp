// The message store: packets it builds, acks, repetitions, limits, retries, auto-replies,
// reply-acks, rejects, queries, identifiers, the windows' actions, and the look-up by match
// key against a scan of the list.
#include "messages/message_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "message_test_support.h"

namespace plovane::testing {
namespace {

using Keys = std::vector<uint64_t>;

TEST(MessagePacket, AddresseeTakesNineColumns) {
    struct Case {
        const char *to, *from, *number, *message, *ack;
    } cases[] = {
        {"N0CALL-5", "W1AW", "12", ":N0CALL-5 :Hello{12\r", ":W1AW     :ack12\r"},
        {"BLN1", "N0CALL-15", "", ":BLN1     :Hello\r", ":N0CALL-15:ack\r"},
        {"NWS-WARNX", "ABCDEFGHIJKL", "AB1", ":NWS-WARNX:Hello{AB1\r", ":ABCDEFGHI:ackAB1\r"},
        {"TOOLONGCALL", "", "1", ":TOOLONGCA:Hello{1\r", ":         :ack1\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        CMessage m;
        m.to = c.to;
        m.from = c.from;
        m.number = c.number;
        m.text = "Hello";
        EXPECT_EQ(m.MessagePacketText(), c.message);
        EXPECT_EQ(m.AckPacketText(), c.ack);
    }
}

TEST(MessageAcks, MarkOnlyTheMatchingOwnMessage) {
    for (const char* ack : {"ack5", "ACK5", "ack5 ", "ack5}", "ack5}77"}) {
        SCOPED_TRACE(ack);
        FakeClock clock;
        RecordingHost host;
        TestStation me(kMe, clock, host);
        const uint64_t target = me.list.AddMessage(kMe, "W1AW", "5", "one")->key;
        me.list.AddMessage(kMe, "W1AW", "6", "two");
        me.list.AddMessage(kMe, "N0CALL", "5", "three");
        me.list.AddMessage("W1AW", kMe, "5", "from them");
        me.list.ReceiveMessage("W1AW", kMe, ack);
        me.list.ReceiveMessage("W1AW", kMe, ack);
        for (const CMessage& m : me.list.Snapshot())
            EXPECT_EQ(m.acked, m.key == target) << m.text;
        EXPECT_EQ(me.list.Count(), 4u) << "an ack is never stored";
        EXPECT_EQ(host.sounds(), Texts{"ack.wav"}) << "the second ack plays nothing";
        EXPECT_EQ(host.messageChanges(), (Keys{target, target}));
        EXPECT_TRUE(me.tnc.Take().empty());
    }
}

TEST_F(MessageTest, MessageToUsIsAckedFiveTimesAndTwiceMorePerRepetition) {
    const CDateTime firstArrival = clock.Now();
    list.ReceiveMessage("W1AW", kMe, "hello{42");
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :ack42\r"});
    EXPECT_EQ(me.network.Take(), Texts{"K1ABC>APQ102,TCPIP*::W1AW     :ack42\r"});
    EXPECT_EQ(host.sounds(), Texts{"message.wav"});
    EXPECT_TRUE(list.MessageWaiting());
    EXPECT_EQ(me.redraws, 1);
    for (int i = 0; i < 8; ++i)
        list.SendPending("");
    EXPECT_EQ(me.tnc.Take().size(), 4u);

    clock.AdvanceSeconds(60);
    list.ReceiveMessage("W1AW", kMe, "hello{42");
    for (int i = 0; i < 8; ++i)
        list.SendPending("");
    EXPECT_EQ(me.tnc.Take().size(), 2u) << "reset to 3, then acked at once";
    const CMessage m = list.Snapshot().at(0);
    EXPECT_EQ(m.count, 2);
    EXPECT_EQ(m.ackCount, 5);
    EXPECT_EQ(m.time, firstArrival);
    EXPECT_EQ(host.sounds(), Texts{"message.wav"}) << "no new-message sound for a repetition";
    EXPECT_EQ(me.transmit.messageSlotArms, 2);
    list.ClearMessageWaiting();
    EXPECT_FALSE(list.MessageWaiting());

    // Without a number there is nothing to ack.
    list.ReceiveMessage("W1AW", kMe, "no number here");
    list.SendPending("");
    EXPECT_EQ(list.Snapshot().back().ackCount, 0);
    EXPECT_TRUE(me.tnc.Take().empty());
    EXPECT_EQ(me.transmit.messageSlotArms, 2);
}

TEST_F(MessageTest, DuplicatesMatchOnTheNumberOrElseTheText) {
    for (const char* text : {"hello", "  hello ", "hello again", "first{3", "garbled{3"})
        list.ReceiveMessage("W1AW", "N0CALL", text);
    list.ReceiveMessage("W2XYZ", "N0CALL", "hello");
    std::string summary;
    for (const CMessage& m : list.Snapshot())
        summary += m.from + " " + m.text + " x" + std::to_string(m.count) + "; ";
    EXPECT_EQ(summary, "W1AW hello x2; W1AW hello again x1; W1AW first x2; W2XYZ hello x1; ");
}

TEST_F(MessageTest, LimitDropsTheOldestAndReusesItsRecordCleanly) {
    me.settings.bLimitMessages = false;
    me.Apply();
    const uint64_t own = list.SendNewMessage("W1AW", "a long text that needs storage");
    list.ReceiveMessage("W1AW", kMe, "ack1");
    list.ReceiveMessage("W1AW", kMe, "hi{7");
    list.ReceiveMessage("W1AW", kMe, "hi{7");
    EXPECT_EQ(list.Count(), 2u);
    me.settings.bLimitMessages = true;
    me.settings.LimitMessages = 2;
    me.Apply();
    host.Clear();

    list.ReceiveMessage("N0CALL", "BLN1", "bulletin");
    const auto all = list.Snapshot();
    ASSERT_EQ(all.size(), 2u);
    const CMessage& added = all.back();
    EXPECT_GT(added.key, all.front().key);
    EXPECT_EQ(added.from + ">" + added.to + " " + added.number + "|" + added.text,
              "N0CALL>BLN1 |bulletin");
    EXPECT_FALSE(added.acked);
    EXPECT_EQ(added.count, 1);
    EXPECT_EQ(added.ackCount, 0);
    EXPECT_EQ(added.time, clock.Now());
    EXPECT_FALSE(list.Find(own).has_value());
    EXPECT_EQ(host.messageChanges(), (Keys{own, added.key})) << "windows learn it is gone";
    EXPECT_FALSE(list.FindMessage(kMe, "W1AW", "1", "").has_value());
    list.ReceiveMessage("N0CALL", "BLN1", "bulletin");
    EXPECT_EQ(list.Snapshot().back().count, 2) << "a copy, not a new record";

    me.settings.LimitMessages = 0;  // out of range: keeps the newest
    me.Apply();
    list.ApplyLimit();
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Snapshot().front().key, added.key);
}

TEST_F(MessageTest, NocallAndForeignSendersTransmitNothing) {
    me.SetCall("NOCALL");
    const uint64_t key = list.SendNewMessage("W1AW", "hello");
    EXPECT_EQ(list.Find(key)->from, "NOCALL");
    list.ReceiveMessage("W1AW", "NOCALL", "hi{1");
    list.SendPending("");
    me.SetCall(kMe);
    list.SendPending("");  // its sender is no longer the own call
    EXPECT_TRUE(me.tnc.Take().empty());
    EXPECT_TRUE(me.network.Take().empty());
}

TEST_F(MessageTest, MyMessagesOnlyRefusesOthersTraffic) {
    me.settings.bMyMessagesOnly = true;
    me.Apply();
    list.ReceiveMessage("W1AW", "BLN1", "net tonight{1");
    list.ReceiveMessage("W1AW", "N0CALL", "not for us");
    list.ReceiveMessage("W1AW", "k1abc", "lower case addressee");
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_NE(list.SendNewMessage(list.NextBulletinId(true), "our bulletin"), 0u);
    EXPECT_EQ(me.tnc.Take(), Texts{":BLN1     :our bulletin{1\r"});
}

TEST_F(MessageTest, OwnMessageRetriesUntilItsAckAndOnlyWhenAPortTakesIt) {
    const uint64_t key = list.SendNewMessage("W1AW", "are you there");
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :are you there{1\r"});
    EXPECT_EQ(me.network.Take(), Texts{"K1ABC>APQ102,TCPIP*::W1AW     :are you there{1\r"});
    EXPECT_EQ(me.transmit.messageSlotArms, 1);
    me.tnc.open = false;
    me.network.open = false;
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 1);
    me.tnc.open = true;
    me.network.open = true;
    for (int i = 0; i < 3; ++i)
        list.SendPending("");
    list.ReceiveMessage("W1AW", kMe, "ack2");
    list.ReceiveMessage("N0CALL", kMe, "ack1");
    list.SendPending("");
    list.ReceiveMessage("W1AW", kMe, "ack1");
    list.SendPending("");
    EXPECT_TRUE(list.Find(key)->acked);
    EXPECT_EQ(list.Find(key)->count, 5);
    EXPECT_EQ(me.tnc.Take().size(), 4u);
}

TEST_F(MessageTest, FilterSelectsOwnMessagesButNotAcks) {
    const uint64_t toW1aw = list.SendNewMessage("W1AW", "a");
    list.ReceiveMessage("N0CALL", kMe, "b{7");
    me.tnc.Take();
    list.SendPending("n0call");
    EXPECT_EQ(me.tnc.Take(), Texts{":N0CALL   :ack7\r"});
    list.SendPending("w1aw");
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :a{1\r", ":N0CALL   :ack7\r"}));
    EXPECT_EQ(list.Find(toW1aw)->count, 3);
}

TEST_F(MessageTest, AutoReplyAnswersEveryCopyButNeverAnAutoReply) {
    me.settings.AutoReply = true;
    me.settings.AutoReplyText = "Away from the radio";
    me.Apply();
    list.ReceiveMessage("W1AW", kMe, "hello{3");
    EXPECT_EQ(me.tnc.Take(),
              (Texts{":W1AW     :AUTO-REPLY: Away from the radio\r", ":W1AW     :ack3\r"}));
    list.ReceiveMessage("W1AW", kMe, "hello{3");
    EXPECT_EQ(me.tnc.Take().size(), 2u);
    list.ReceiveMessage("W1AW", kMe, "AUTO-REPLY: Gone fishing");
    list.ReceiveMessage("W1AW", kMe, " auto-reply: gone{4");
    list.ReceiveMessage("W1AW", "N0CALL", "not for us");
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :ack3\r", ":W1AW     :ack4\r"}));
}

// What one station queued on its TNC port, handed to the other as the decoder would.
int Relay(RecordingPort& port, const std::string& sender, CMessageList& receiver) {
    int packets = 0;
    for (const std::string& packet : port.Take()) {
        ++packets;
        std::string to = packet.substr(1, 9);
        to.erase(to.find_last_not_of(' ') + 1);
        receiver.ReceiveMessage(sender, to, packet.substr(11, packet.size() - 12));
    }
    return packets;
}

TEST(MessageAutoReply, TwoAnsweringStationsFallSilent) {
    FakeClock clock;
    RecordingHost host;
    TestStation a("AAA", clock, host);
    TestStation b("BBB", clock, host);
    for (TestStation* s : {&a, &b}) {
        s->settings.AutoReply = true;
        s->settings.AutoReplyText = "not here";
        s->Apply();
    }
    a.list.SendNewMessage("BBB", "hi");
    int rounds = 0;
    while (Relay(a.tnc, "AAA", b.list) + Relay(b.tnc, "BBB", a.list) > 0)
        ASSERT_LT(++rounds, 10) << "the stations keep answering each other";
    EXPECT_TRUE(a.list.Snapshot().front().acked);
}

TEST_F(MessageTest, IdentifiersAdvanceAndWrap) {
    EXPECT_EQ(list.NextBulletinId(false), "BLN1");
    std::string ids;
    for (int i = 0; i < 10; ++i)
        ids += list.NextBulletinId(true).substr(3);
    for (int i = 0; i < 27; ++i)
        ids += list.NextAnnouncementId(true).substr(3);
    EXPECT_EQ(ids, "1234567891ABCDEFGHIJKLMNOPQRSTUVWXYZA");
    EXPECT_EQ(list.NextAnnouncementId(false), "BLNB");
    EXPECT_EQ(list.NextMessageNumber(false), "1");
    for (int i = 1; i < 99999; ++i)
        list.NextMessageNumber(true);
    EXPECT_EQ(list.NextMessageNumber(true), "99999");
    EXPECT_EQ(list.NextMessageNumber(true), "1");
}

TEST_F(MessageTest, WindowActionsStopResendAndDelete) {
    const uint64_t key = list.SendNewMessage("W1AW", "x");
    host.Clear();
    EXPECT_TRUE(list.Stop(key));
    list.SendPending("");
    EXPECT_TRUE(list.Find(key)->acked);
    EXPECT_EQ(list.Find(key)->count, 1);
    EXPECT_TRUE(list.Resend(key));
    EXPECT_FALSE(list.Find(key)->acked);
    EXPECT_EQ(list.Find(key)->count, 0);
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 1);
    EXPECT_TRUE(list.Delete(key));
    EXPECT_FALSE(list.Find(key).has_value());
    EXPECT_FALSE(list.Delete(key) || list.Stop(key) || list.Resend(key));
    EXPECT_EQ(host.messageChanges(), (Keys{key, key, key, key}));
}

TEST_F(MessageTest, DisabledSoundsAndAnUnconnectedStoreStayQuiet) {
    list.SetSounds({false, "message.wav", false, "ack.wav"});
    list.AddMessage(kMe, "W1AW", "1", "x");
    list.ReceiveMessage("W1AW", kMe, "ack1");
    list.ReceiveMessage("W1AW", kMe, "hi{2");
    EXPECT_TRUE(host.sounds().empty());
    me.tnc.Take();

    CMessageList unconnected(me.settings, clock, host, host, nullptr);
    unconnected.SetPorts(&me.tnc, nullptr);
    unconnected.ReceiveMessage("W1AW", kMe, "hi{1");
    EXPECT_EQ(unconnected.SendNewMessage("W1AW", "x"), 0u);
    EXPECT_EQ(unconnected.Count(), 0u);
    EXPECT_TRUE(me.tnc.Take().empty());
}

TEST_F(MessageTest, ReplyAckAcksOursAndSwitchesOurPacketsToThatForm) {
    const uint64_t ours = list.SendNewMessage("W1AW", "first");
    me.tnc.Take();
    list.ReceiveMessage("W1AW", kMe, "answer{7}1");
    EXPECT_TRUE(list.Find(ours)->acked);
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :ack7}\r"});
    // Every due packet goes out with a new message, in the reply-ack form to that station.
    list.SendNewMessage("W1AW", "second");
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :ack7}\r", ":W1AW     :second{2}7\r"}));
    list.SendNewMessage("N0CALL", "plain");
    EXPECT_EQ(me.tnc.Take().back(), ":N0CALL   :plain{3\r");
}

TEST_F(MessageTest, RejectStopsRetriesButAckLikeTextIsAMessage) {
    const uint64_t rejected = list.SendNewMessage("W1AW", "go away?");
    const uint64_t other = list.SendNewMessage("N0CALL", "hi");
    me.tnc.Take();
    list.ReceiveMessage("W1AW", kMe, "rej1");
    list.ReceiveMessage("N0CALL", kMe, "Acknowledged, thanks{7");
    EXPECT_TRUE(list.Find(rejected)->rejected && list.Find(rejected)->acked);
    EXPECT_FALSE(list.Find(other)->acked);
    EXPECT_EQ(host.sounds(), Texts{"message.wav"}) << "a reject is no ack";
    EXPECT_EQ(me.tnc.Take(), (Texts{":N0CALL   :hi{2\r", ":N0CALL   :ack7\r"}));
    EXPECT_EQ(list.Count(), 3u);
}

TEST_F(MessageTest, DirectedQueriesAreAnsweredOnceAMinute) {
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
        for (int copy = 0; copy < 2; ++copy) {
            list.ReceiveMessage("W1AW", kMe, c.text, "W1AW>APRS,DIGI*");
            EXPECT_EQ(me.tnc.Take(), copy == 0 ? c.sent : Texts{});
            EXPECT_EQ(me.transmit.Answers(), copy == 0 ? c.answers : std::vector<QueryAnswer>{});
        }
    }
    clock.AdvanceMs(CMessageList::kQueryIntervalMs);
    list.ReceiveMessage("W1AW", kMe, "?APRSP");
    list.ReceiveMessage("N0CALL", "W1AW", "?APRSS");  // not ours to answer
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPosition});
}

TEST_F(MessageTest, GeneralQueryArmsOurPositionAtMostOnceInFiveMinutes) {
    list.ReceiveMessage("W1AW", "", "?APRS?");
    list.ReceiveMessage("N0CALL", "", "?APRS?");
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPositionAfterDelay});
    EXPECT_EQ(list.Snapshot().front().to, "");
    clock.AdvanceMs(CMessageList::kGeneralQueryIntervalMs);
    list.ReceiveMessage("N0CALL", "", "?APRS?");
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPositionAfterDelay});
    list.SendPending("");
    EXPECT_TRUE(me.tnc.Take().empty()) << "a query is never acked";
}

// What the store answered before it had an index: the first match in list order.
std::optional<CMessage> LinearFind(const std::vector<CMessage>& all, const std::string& from,
                                   const std::string& to, const std::string& number,
                                   const std::string& text) {
    for (const CMessage& m : all) {
        if (m.from == from && m.to == to && m.number == number &&
            (!number.empty() || m.text == text)) {
            return m;
        }
    }
    return std::nullopt;
}

// Receiving, acking, adding, deleting and limit changes: after every step every look-up
// gives the record a scan of the list gives.
TEST_F(MessageTest, LookUpAnswersAsALinearScanUnderRandomTraffic) {
    const Texts calls = {"K1ABC", "W1AW", "N0CALL", "BLN1"};
    const Texts numbers = {"", "1", "2", "12"};
    const Texts texts = {"", "hi", "hello", "hi there"};
    std::mt19937 random(7);
    const auto pick = [&](const Texts& items) { return items[random() % items.size()]; };

    for (int step = 0; step < 3000; ++step) {
        const std::string from = pick(calls), to = pick(calls), number = pick(numbers);
        const std::string text = pick(texts);
        const unsigned action = random() % 8;
        if (action < 3) {
            list.ReceiveMessage(from, to, number.empty() ? text : text + "{" + number);
        } else if (action == 3) {
            list.ReceiveMessage(from, to, "ack" + number);
        } else if (action == 4) {
            list.AddMessage(from, to, number, text);
        } else if (action == 5 && list.Count() != 0) {
            list.Delete(list.Snapshot()[random() % list.Count()].key);
        } else if (action == 6 && random() % 20 == 0) {
            me.settings.LimitMessages = static_cast<int32_t>(1 + random() % 40);
            me.Apply();
            list.ApplyLimit();
        } else if (action == 7) {
            list.SendPending("");
        }
        const auto all = list.Snapshot();
        for (int query = 0; query < 16; ++query) {
            const std::string qFrom = pick(calls), qTo = pick(calls), qNumber = pick(numbers);
            const std::string qText = pick(texts);
            const auto expected = LinearFind(all, qFrom, qTo, qNumber, qText);
            const auto found = list.FindMessage(qFrom, qTo, qNumber, qText);
            ASSERT_EQ(found.has_value(), expected.has_value())
                << "step " << step << ": " << qFrom << ">" << qTo << " {" << qNumber << " "
                << qText;
            if (found) {
                ASSERT_EQ(found->key, expected->key) << "step " << step;
            }
        }
    }
}

}  // namespace
}  // namespace plovane::testing
