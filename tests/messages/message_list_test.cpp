// SPDX-License-Identifier: GPL-3.0-or-later
// The message store: packets, acks, retries, limits, queries, and the look-up against a scan.
#include "messages/message_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "message_test_support.h"

namespace plovane::testing {
namespace {

using Keys = std::vector<uint64_t>;

TEST_F(MessageTest, MessageToUsIsAckedFiveTimesAndTwiceMorePerRepetition) {
    list.ReceiveMessage("W1AW", kMe, "hello{42");
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :ack42\r"});
    for (int i = 0; i < 8; ++i)
        list.SendPending("");
    EXPECT_EQ(me.tnc.Take().size(), 4u);
    clock.AdvanceSeconds(60);
    list.ReceiveMessage("W1AW", kMe, "hello{42");
    for (int i = 0; i < 8; ++i)
        list.SendPending("");
    EXPECT_EQ(me.tnc.Take().size(), 2u) << "reset to 3, then acked at once";
    EXPECT_EQ(list.Snapshot().at(0).count, 2);
    EXPECT_EQ(host.sounds(), Texts{"message.wav"}) << "no new-message sound for a repetition";
    list.ReceiveMessage("W1AW", kMe, "ack 5");  // text that only looks like an ack
    EXPECT_EQ(list.Count(), 2u);
}

// Messages arriving together: each ack once as its message comes, once per firing on the
// air, and over the network once per received copy only.
TEST_F(MessageTest, EachAckGoesOutOncePerCopyAndOncePerFiring) {
    const std::string net = "K1ABC>APQ102,TCPIP*:";
    list.ReceiveMessage("W1AW", kMe, "one{1");
    list.ReceiveMessage("W1AW", kMe, "two{2");
    list.ReceiveMessage("N0CALL", kMe, "three{3");
    const Texts acks = {":W1AW     :ack1\r", ":W1AW     :ack2\r", ":N0CALL   :ack3\r"};
    EXPECT_EQ(me.tnc.Take(), acks);
    EXPECT_EQ(me.network.Take(), (Texts{net + acks[0], net + acks[1], net + acks[2]}));
    list.SendPending("");
    EXPECT_EQ(me.tnc.Take(), acks);
    EXPECT_TRUE(me.network.Take().empty());
    list.SendNewMessage("W1AW", "reply");
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :reply{1\r"});
    list.ReceiveMessage("W1AW", kMe, "two{2");  // a second copy: acked again, both ways
    EXPECT_EQ(me.network.Take(), (Texts{net + ":W1AW     :reply{1\r", net + acks[1]}));
}

TEST_F(MessageTest, LimitDropsTheOldestAndReusesItsRecordCleanly) {
    const uint64_t own = list.SendNewMessage("W1AW", "a long text that needs storage");
    list.ReceiveMessage("W1AW", kMe, "ack1");
    list.ReceiveMessage("W1AW", kMe, "hi{7");
    list.ReceiveMessage("W1AW", kMe, "hi{7");
    me.settings.LimitMessages = 2;
    me.Apply();
    host.Clear();

    list.ReceiveMessage("N0CALL", "BLN1", "bulletin");
    const auto all = list.Snapshot();
    ASSERT_EQ(all.size(), 2u);
    const CMessage& added = all.back();
    EXPECT_EQ(added.from + ">" + added.to + " " + added.number + "|" + added.text,
              "N0CALL>BLN1 |bulletin");
    EXPECT_TRUE(!added.acked && added.count == 1 && added.ackCount == 0);
    EXPECT_FALSE(list.Find(own).has_value());
    EXPECT_EQ(host.messageChanges(), (Keys{own, added.key})) << "windows learn it is gone";
    EXPECT_FALSE(list.FindMessage(kMe, "W1AW", "1", "").has_value());

    me.settings.LimitMessages = 0;  // out of range: keeps the newest
    me.Apply();
    list.ApplyLimit();
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Snapshot().front().key, added.key);
}

TEST_F(MessageTest, MyMessagesOnlyRefusesOthersTrafficAndIdentifiersWrap) {
    me.settings.bMyMessagesOnly = true;
    me.Apply();
    list.ReceiveMessage("W1AW", "BLN1", "net tonight{1");
    list.ReceiveMessage("W1AW", "N0CALL", "not for us");
    list.ReceiveMessage("W1AW", "k1abc", "lower case addressee");
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_NE(list.SendNewMessage(list.NextBulletinId(true), "our bulletin"), 0u);
    EXPECT_EQ(me.tnc.Take(), Texts{":BLN1     :our bulletin{1\r"});
    std::string ids;
    for (int i = 0; i < 9; ++i)
        ids += list.NextBulletinId(true).substr(3);
    for (int i = 0; i < 27; ++i)
        ids += list.NextAnnouncementId(true).substr(3);
    EXPECT_EQ(ids, "234567891ABCDEFGHIJKLMNOPQRSTUVWXYZA");
    for (int i = 2; i < 99999; ++i)
        list.NextMessageNumber(true);
    EXPECT_EQ(list.NextMessageNumber(true), "99999");
    EXPECT_EQ(list.NextMessageNumber(true), "1");
}

// Only the matching ack marks an own message (once: a second plays nothing); a reject stops
// the retries too, but is no ack.
TEST_F(MessageTest, OwnMessageRetriesUntilItsAckOrRejectAndOnlyWhenAPortTakesIt) {
    const uint64_t key = list.SendNewMessage("W1AW", "are you there");
    const uint64_t rejected = list.SendNewMessage("N0CALL", "go away?");
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :are you there{1\r", ":N0CALL   :go away?{2\r"}));
    EXPECT_EQ(me.network.Take().front(), "K1ABC>APQ102,TCPIP*::W1AW     :are you there{1\r");
    me.tnc.open = me.network.open = false;
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 1);
    me.tnc.open = me.network.open = true;
    list.SendPending("");
    for (const char* ack : {"ack2", "ACK1 ", "ack1"})
        list.ReceiveMessage("W1AW", kMe, ack);
    list.ReceiveMessage("N0CALL", kMe, "ack1");
    list.ReceiveMessage("N0CALL", kMe, "rej2");
    list.SendPending("");
    EXPECT_TRUE(list.Find(key)->acked && list.Find(key)->count == 2);
    EXPECT_TRUE(list.Find(rejected)->rejected && list.Find(rejected)->acked);
    EXPECT_EQ(me.tnc.Take().size(), 2u);
    EXPECT_EQ(list.Count(), 2u) << "an ack is never stored";
    EXPECT_EQ(host.sounds(), Texts{"ack.wav"});
}

// What one station queued on its TNC port, handed to the other as the decoder would.
int Relay(TestStation& from, TestStation& to) {
    const Texts packets = from.tnc.Take();
    for (const std::string& packet : packets)
        to.list.ReceiveMessage(from.ownCall, to.ownCall, packet.substr(11, packet.size() - 12));
    return static_cast<int>(packets.size());
}

TEST_F(MessageTest, TwoAutoAnsweringStationsFallSilent) {
    TestStation other("BBB", clock, host);
    for (TestStation* s : {&me, &other}) {
        s->settings.AutoReply = true;
        s->settings.AutoReplyText = "not here";
        s->Apply();
    }
    list.SendNewMessage("BBB", "hi");
    int rounds = 0;
    while (Relay(me, other) + Relay(other, me) > 0)
        ASSERT_LT(++rounds, 10) << "the stations keep answering each other";
    EXPECT_TRUE(list.Snapshot().front().acked);
}

TEST_F(MessageTest, WindowActionsStopResendAndDelete) {
    const uint64_t key = list.SendNewMessage("W1AW", "x");
    host.Clear();
    EXPECT_TRUE(list.Stop(key));
    list.SendPending("");
    EXPECT_TRUE(list.Find(key)->acked && list.Find(key)->count == 1);
    EXPECT_TRUE(list.Resend(key));
    EXPECT_TRUE(!list.Find(key)->acked && list.Find(key)->count == 0);
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 1);
    EXPECT_TRUE(list.Delete(key));
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
    me.SetCall("NOCALL");  // never transmits
    list.SendNewMessage("W1AW", "hello");
    list.ReceiveMessage("W1AW", "NOCALL", "hi{1");
    list.SendPending("");
    EXPECT_TRUE(me.tnc.Take().empty());

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
    // A new message goes out alone, in the reply-ack form to that station.
    list.SendNewMessage("W1AW", "second");
    EXPECT_EQ(me.tnc.Take(), Texts{":W1AW     :second{2}7\r"});
    list.SendNewMessage("NWS-WARNX1", "plain");  // addressees take nine columns
    EXPECT_EQ(me.tnc.Take().back(), ":NWS-WARNX:plain{3\r");
}

// Queries to us are answered once a minute, general ones once in five; a query is never acked.
TEST_F(MessageTest, QueriesAreAnsweredOnceAMinuteGeneralOnesOnceInFive) {
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

    list.ReceiveMessage("W1AW", "", "?APRS?");
    list.ReceiveMessage("N0CALL", "", "?APRS?");
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPositionAfterDelay});
    clock.AdvanceMs(CMessageList::kGeneralQueryIntervalMs);
    list.ReceiveMessage("N0CALL", "", "?APRS?");
    EXPECT_EQ(me.transmit.Answers(), std::vector{QueryAnswer::kPositionAfterDelay});
    list.SendPending("");
    EXPECT_TRUE(me.tnc.Take().empty());
}

// What the store answered before it had an index: the first match in list order (0: none).
uint64_t LinearFind(const std::vector<CMessage>& all, const std::string& from,
                    const std::string& to, const std::string& number, const std::string& text) {
    for (const CMessage& m : all) {
        if (m.from == from && m.to == to && m.number == number &&
            (!number.empty() || m.text == text))
            return m.key;
    }
    return 0;
}

// After every step of random traffic every look-up gives what a scan of the list gives.
TEST_F(MessageTest, LookUpAnswersAsALinearScanUnderRandomTraffic) {
    const Texts calls = {"K1ABC", "W1AW", "N0CALL", "BLN1"};
    const Texts numbers = {"", "1", "2", "12"};
    const Texts texts = {"", "hi", "hello", "hi there"};
    std::mt19937 random(7);
    const auto pick = [&](const Texts& items) { return items[random() % items.size()]; };

    for (int step = 0; step < 3000; ++step) {
        const std::string from = pick(calls), to = pick(calls), number = pick(numbers);
        const std::string text = pick(texts);
        const unsigned action = random() % 7;
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
            me.settings.bLimitMessages = random() % 4 != 0;
            me.Apply();
            list.ApplyLimit();
        }
        const auto all = list.Snapshot();
        for (int query = 0; query < 16; ++query) {
            const std::string qFrom = pick(calls), qTo = pick(calls), qNumber = pick(numbers);
            const std::string qText = pick(texts);
            const auto found = list.FindMessage(qFrom, qTo, qNumber, qText);
            ASSERT_EQ(found ? found->key : 0, LinearFind(all, qFrom, qTo, qNumber, qText))
                << "step " << step;
        }
    }
}

}  // namespace
}  // namespace plovane::testing
