#include "messages/message_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "message_test_support.h"

namespace plovane {
namespace {

using testing::RecordingHost;
using testing::TestStation;
using Texts = std::vector<std::string>;

constexpr const char* kMe = "K1ABC";

class MessageList : public ::testing::Test {
  protected:
    FakeClock clock;
    RecordingHost host;
    TestStation me{kMe, clock, host};
    CMessageList& list = me.list;

    CMessage Only() {
        const auto all = list.Snapshot();
        EXPECT_EQ(all.size(), 1u);
        return all.empty() ? CMessage{} : all.front();
    }
    // Stores an own message directly, without sending it.
    CMessage Own(const std::string& to, const std::string& number) {
        return list.AddMessage(kMe, to, number, "hello").value_or(CMessage{});
    }
};

TEST(MessagePacket, AddresseeTakesNineColumns) {
    struct Case {
        const char* to;
        const char* from;
        const char* number;
        const char* message;
        const char* ack;
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

TEST_F(MessageList, AckMarksOnlyTheMatchingOwnMessage) {
    for (const char* ack : {"ack5", "ACK5", "ack5 ", "ack5}", "ack5}77"}) {
        SCOPED_TRACE(ack);
        RecordingHost ackHost;
        TestStation station(kMe, clock, ackHost);
        CMessageList& store = station.list;
        const uint64_t target = store.AddMessage(kMe, "W1AW", "5", "one")->key;
        store.AddMessage(kMe, "W1AW", "6", "two");
        store.AddMessage(kMe, "N0CALL", "5", "three");
        store.AddMessage("W1AW", kMe, "5", "from them");

        store.ReceiveMessage("W1AW", kMe, ack);
        store.ReceiveMessage("W1AW", kMe, ack);

        for (const CMessage& m : store.Snapshot()) {
            SCOPED_TRACE(m.text);
            EXPECT_EQ(m.acked, m.key == target);
        }
        EXPECT_EQ(store.Count(), 4u) << "an ack is never stored";
        EXPECT_EQ(ackHost.sounds(), Texts{"ack.wav"}) << "the second ack plays nothing";
        EXPECT_EQ(ackHost.messageChanges(), (std::vector<uint64_t>{target, target}));
        EXPECT_TRUE(station.tnc.Texts().empty());
    }
}

TEST_F(MessageList, AckForAnotherStationMarksButStaysQuiet) {
    const uint64_t key = list.AddMessage("N0CALL", "W1AW", "9", "theirs")->key;
    list.ReceiveMessage("W1AW", "N0CALL", "ack9");
    EXPECT_TRUE(list.Find(key)->acked);
    EXPECT_TRUE(host.sounds().empty());
}

TEST_F(MessageList, MessageToUsIsStoredAckedAndSignalled) {
    list.ReceiveMessage("W1AW", kMe, "hello{42");

    const CMessage m = Only();
    EXPECT_EQ(m.count, 1);
    EXPECT_EQ(m.ackCount, 1);
    EXPECT_EQ(m.time, clock.Now());
    EXPECT_EQ(me.tnc.Texts(), Texts{":W1AW     :ack42\r"});
    EXPECT_EQ(me.network.Texts(), Texts{"K1ABC>APQ102,TCPIP*::W1AW     :ack42\r"});
    EXPECT_EQ(host.sounds(), Texts{"message.wav"});
    EXPECT_TRUE(list.MessageWaiting());
    EXPECT_EQ(me.transmit.messageSlotArms, 1);
    EXPECT_EQ(me.redraws, 1);

    list.ClearMessageWaiting();
    EXPECT_FALSE(list.MessageWaiting());
}

TEST_F(MessageList, RepetitionCountsAndAcksAgainWithoutASecondRecord) {
    const CDateTime firstArrival = clock.Now();
    list.ReceiveMessage("W1AW", kMe, "hello{42");
    clock.AdvanceSeconds(60);
    list.ReceiveMessage("W1AW", kMe, "hello{42");

    const CMessage m = Only();
    EXPECT_EQ(m.count, 2);
    EXPECT_EQ(m.ackCount, 2);
    EXPECT_EQ(m.time, firstArrival);
    EXPECT_EQ(me.tnc.Texts().size(), 2u);
    EXPECT_EQ(host.sounds(), Texts{"message.wav"}) << "no new-message sound for a repetition";
    EXPECT_EQ(me.transmit.messageSlotArms, 2);
}

TEST_F(MessageList, AcksStopAtFiveAndARepetitionEarnsTwoMore) {
    list.ReceiveMessage("W1AW", kMe, "hello{42");
    for (int i = 0; i < 8; ++i)
        list.SendPending("");
    EXPECT_EQ(Only().ackCount, 5);
    EXPECT_EQ(me.tnc.Take().size(), 5u);

    list.ReceiveMessage("W1AW", kMe, "hello{42");
    EXPECT_EQ(Only().ackCount, 4) << "reset to 3, then acked at once";
    for (int i = 0; i < 8; ++i)
        list.SendPending("");
    EXPECT_EQ(Only().ackCount, 5);
    EXPECT_EQ(me.tnc.Take().size(), 2u);
}

TEST_F(MessageList, DuplicatesMatchOnTheNumberOrElseTheText) {
    list.ReceiveMessage("W1AW", "N0CALL", "hello");
    list.ReceiveMessage("W1AW", "N0CALL", "  hello ");
    list.ReceiveMessage("W1AW", "N0CALL", "hello again");
    list.ReceiveMessage("W2XYZ", "N0CALL", "hello");
    list.ReceiveMessage("W1AW", "N0CALL", "first{3");
    list.ReceiveMessage("W1AW", "N0CALL", "garbled{3");

    const auto all = list.Snapshot();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].count, 2);
    EXPECT_EQ(all[1].text, "hello again");
    EXPECT_EQ(all[2].from, "W2XYZ");
    EXPECT_EQ(all[3].count, 2);
    EXPECT_EQ(all[3].text, "first");
}

TEST_F(MessageList, NumberlessMessageToUsIsNeverAcked) {
    list.ReceiveMessage("W1AW", kMe, "no number here");
    list.SendPending("");
    EXPECT_EQ(Only().ackCount, 0);
    EXPECT_TRUE(me.tnc.Texts().empty());
    EXPECT_FALSE(list.MessageWaiting());
    EXPECT_EQ(me.transmit.messageSlotArms, 0);
}

TEST_F(MessageList, QueryIsStoredWithEmptyAddresseeAndUnanswered) {
    me.settings.AutoReply = true;
    list.ApplySettings(me.settings);
    list.ReceiveMessage("W1AW", "", "?APRS?");
    EXPECT_EQ(Only().to, "");
    EXPECT_EQ(Only().text, "?APRS?");
    list.SendPending("");
    EXPECT_TRUE(me.tnc.Texts().empty());

    // Before the own record has a call, the empty addressee is still nobody's.
    me.SetCall("");
    list.ReceiveMessage("W1AW", "", "?APRS?{1");
    list.SendPending("");
    EXPECT_TRUE(me.tnc.Texts().empty());
}

TEST_F(MessageList, LimitDropsTheOldest) {
    me.settings.LimitMessages = 3;
    list.ApplySettings(me.settings);
    for (const char* text : {"one", "two", "three"})
        list.ReceiveMessage("W1AW", "N0CALL", text);
    const uint64_t oldest = list.Snapshot().front().key;
    host.Clear();
    list.ReceiveMessage("W1AW", "N0CALL", "four");

    const auto all = list.Snapshot();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].text, "two");
    EXPECT_EQ(all[2].text, "four");
    EXPECT_FALSE(list.Find(oldest).has_value());
    const auto changes = host.messageChanges();
    EXPECT_NE(std::find(changes.begin(), changes.end(), oldest), changes.end())
        << "windows learn that the oldest is gone";
}

TEST_F(MessageList, ApplyLimitCutsDownAfterASettingsChange) {
    me.settings.bLimitMessages = false;
    list.ApplySettings(me.settings);
    for (int i = 0; i < 5; ++i)
        list.ReceiveMessage("W1AW", "N0CALL", "text " + std::to_string(i));
    EXPECT_EQ(list.Count(), 5u);

    me.settings.bLimitMessages = true;
    me.settings.LimitMessages = 2;
    EXPECT_EQ(list.Count(), 5u) << "the store works on its own copy of the settings";
    list.ApplySettings(me.settings);
    list.ApplyLimit();
    const auto all = list.Snapshot();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].text, "text 3");

    me.settings.LimitMessages = 0;  // out of range: keeps the newest
    list.ApplySettings(me.settings);
    list.ApplyLimit();
    EXPECT_EQ(Only().text, "text 4");
}

TEST_F(MessageList, NocallStoresButTransmitsNothing) {
    me.SetCall("NOCALL");
    const uint64_t key = list.SendNewMessage("W1AW", "hello");
    ASSERT_NE(key, 0u);
    EXPECT_EQ(list.Find(key)->from, "NOCALL");
    list.ReceiveMessage("W1AW", "NOCALL", "hi{1");
    list.SendPending("");
    EXPECT_TRUE(me.tnc.Texts().empty());
    EXPECT_TRUE(me.network.Texts().empty());

    me.SetCall(kMe);
    list.SendPending("");
    EXPECT_TRUE(me.tnc.Texts().empty()) << "its sender is no longer the own call";
}

TEST_F(MessageList, MyMessagesOnlyRefusesOthersTraffic) {
    me.settings.bMyMessagesOnly = true;
    list.ApplySettings(me.settings);

    list.ReceiveMessage("W1AW", "BLN1", "net tonight{1");
    list.ReceiveMessage("W1AW", "N0CALL", "not for us");
    EXPECT_EQ(list.Count(), 0u);

    list.ReceiveMessage("W1AW", "k1abc", "lower case addressee");
    EXPECT_EQ(list.Count(), 1u);

    const uint64_t key = list.SendNewMessage(list.NextBulletinId(true), "our bulletin");
    ASSERT_NE(key, 0u);
    EXPECT_EQ(me.tnc.Texts(), Texts{":BLN1     :our bulletin{1\r"});
}

TEST_F(MessageList, OwnMessageRetriesUntilItsAck) {
    const uint64_t key = list.SendNewMessage("W1AW", "are you there");
    ASSERT_NE(key, 0u);
    EXPECT_EQ(me.tnc.Texts(), Texts{":W1AW     :are you there{1\r"});
    EXPECT_EQ(me.network.Texts(), Texts{"K1ABC>APQ102,TCPIP*::W1AW     :are you there{1\r"});
    EXPECT_EQ(me.transmit.messageSlotArms, 1);
    EXPECT_EQ(host.messageChanges().back(), key);

    for (int i = 0; i < 3; ++i)
        list.SendPending("");
    list.ReceiveMessage("W1AW", kMe, "ack2");
    list.ReceiveMessage("N0CALL", kMe, "ack1");
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 5);

    list.ReceiveMessage("W1AW", kMe, "ack1");
    list.SendPending("");
    EXPECT_TRUE(list.Find(key)->acked);
    EXPECT_EQ(list.Find(key)->count, 5);
    EXPECT_EQ(me.tnc.Texts().size(), 5u);
}

TEST_F(MessageList, FilterSelectsOwnMessagesButNotAcks) {
    const uint64_t toW1aw = list.SendNewMessage("W1AW", "a");
    list.ReceiveMessage("N0CALL", kMe, "b{7");
    me.tnc.Take();

    list.SendPending("n0call");
    EXPECT_EQ(me.tnc.Take(), Texts{":N0CALL   :ack7\r"});
    list.SendPending("w1aw");
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :a{1\r", ":N0CALL   :ack7\r"}));
    // Sent when stored, again with the ack of message 7, and now.
    EXPECT_EQ(list.Find(toW1aw)->count, 3);
}

TEST_F(MessageList, CountsOnlyWhatAPortTook) {
    const uint64_t key = list.AddMessage(kMe, "W1AW", "1", "x")->key;
    me.tnc.open = false;
    me.network.open = false;
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 0);

    me.network.open = true;
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 1);
    EXPECT_TRUE(me.tnc.Texts().empty());
    EXPECT_EQ(me.network.Texts().size(), 1u);
}

TEST_F(MessageList, AutoReplyAnswersEveryCopyButNeverAnAutoReply) {
    me.settings.AutoReply = true;
    me.settings.AutoReplyText = "Away from the radio";
    list.ApplySettings(me.settings);

    list.ReceiveMessage("W1AW", kMe, "hello{3");
    EXPECT_EQ(me.tnc.Take(),
              (Texts{":W1AW     :AUTO-REPLY: Away from the radio\r", ":W1AW     :ack3\r"}));
    list.ReceiveMessage("W1AW", kMe, "hello{3");
    EXPECT_EQ(me.tnc.Take().size(), 2u);

    list.ReceiveMessage("W1AW", kMe, "AUTO-REPLY: Gone fishing");
    list.ReceiveMessage("W1AW", kMe, " auto-reply: gone{4");
    EXPECT_EQ(me.tnc.Take(), (Texts{":W1AW     :ack3\r", ":W1AW     :ack4\r"}));
    list.ReceiveMessage("W1AW", "N0CALL", "not for us");
    EXPECT_TRUE(me.tnc.Take().empty());
}

// What one station queued on its TNC port, handed to the other as the decoder would.
int Relay(testing::RecordingPort& port, const std::string& sender, CMessageList& receiver) {
    int packets = 0;
    for (const std::string& packet : port.Take()) {
        ++packets;
        std::string to = packet.substr(1, 9);
        to.erase(to.find_last_not_of(' ') + 1);
        receiver.ReceiveMessage(sender, to, packet.substr(11, packet.size() - 12));
    }
    return packets;
}

TEST(MessageListAutoReply, TwoAnsweringStationsFallSilent) {
    FakeClock clock;
    RecordingHost host;
    TestStation a("AAA", clock, host);
    TestStation b("BBB", clock, host);
    for (TestStation* s : {&a, &b}) {
        s->settings.AutoReply = true;
        s->settings.AutoReplyText = "not here";
        s->list.ApplySettings(s->settings);
    }
    a.list.SendNewMessage("BBB", "hi");
    int rounds = 0;
    while (Relay(a.tnc, "AAA", b.list) + Relay(b.tnc, "BBB", a.list) > 0) {
        ASSERT_LT(++rounds, 10) << "the stations keep answering each other";
    }
    EXPECT_TRUE(a.list.Snapshot().front().acked);
}

TEST_F(MessageList, IdentifiersAdvanceAndWrap) {
    EXPECT_EQ(list.NextBulletinId(false), "BLN1");
    EXPECT_EQ(list.NextBulletinId(false), "BLN1");
    std::string bulletins;
    for (int i = 0; i < 10; ++i)
        bulletins += list.NextBulletinId(true).substr(3);
    EXPECT_EQ(bulletins, "1234567891");

    std::string announcements;
    for (int i = 0; i < 27; ++i)
        announcements += list.NextAnnouncementId(true).substr(3);
    EXPECT_EQ(announcements, "ABCDEFGHIJKLMNOPQRSTUVWXYZA");
    EXPECT_EQ(list.NextAnnouncementId(false), "BLNB");

    EXPECT_EQ(list.NextMessageNumber(false), "1");
    EXPECT_EQ(list.NextMessageNumber(true), "1");
    EXPECT_EQ(list.NextMessageNumber(true), "2");
    for (int i = 3; i < 99999; ++i)
        list.NextMessageNumber(true);
    EXPECT_EQ(list.NextMessageNumber(true), "99999");
    EXPECT_EQ(list.NextMessageNumber(true), "1");
}

TEST_F(MessageList, WindowActionsStopResendAndDelete) {
    const uint64_t key = list.SendNewMessage("W1AW", "x");
    list.SendPending("");
    host.Clear();

    EXPECT_TRUE(list.Stop(key));
    list.SendPending("");
    EXPECT_TRUE(list.Find(key)->acked);
    EXPECT_EQ(list.Find(key)->count, 2);

    EXPECT_TRUE(list.Resend(key));
    EXPECT_FALSE(list.Find(key)->acked);
    EXPECT_EQ(list.Find(key)->count, 0);
    list.SendPending("");
    EXPECT_EQ(list.Find(key)->count, 1);

    EXPECT_TRUE(list.Delete(key));
    EXPECT_FALSE(list.Find(key).has_value());
    EXPECT_FALSE(list.Delete(key));
    EXPECT_FALSE(list.Stop(key));
    EXPECT_FALSE(list.Resend(key));
    EXPECT_EQ(host.messageChanges(), (std::vector<uint64_t>{key, key, key, key}));
}

TEST_F(MessageList, DisabledSoundsStayQuiet) {
    list.SetSounds({false, "message.wav", false, "ack.wav"});
    list.AddMessage(kMe, "W1AW", "1", "x");
    list.ReceiveMessage("W1AW", kMe, "ack1");
    list.ReceiveMessage("W1AW", kMe, "hi{2");
    EXPECT_TRUE(host.sounds().empty());
}

TEST_F(MessageList, UnconnectedStoreDropsTraffic) {
    CMessageList unconnected(me.settings, clock, host, host, nullptr);
    unconnected.SetPorts(&me.tnc, nullptr);
    unconnected.ReceiveMessage("W1AW", kMe, "hi{1");
    EXPECT_EQ(unconnected.SendNewMessage("W1AW", "x"), 0u);
    EXPECT_EQ(unconnected.Count(), 0u);
    EXPECT_TRUE(me.tnc.Texts().empty());
}

}  // namespace
}  // namespace plovane
