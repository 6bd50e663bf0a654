// The message store's look-up by match key: what it finds agrees with a scan of the list.
#include <gtest/gtest.h>

#include <list>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "message_test_support.h"

namespace plovane {
namespace {

using testing::RecordingHost;
using testing::TestStation;

// At its limit the store reuses the oldest record for the new message: nothing of the old
// one may show, and the windows learn that the old one is gone.
TEST(MessageIndex, FullStoreGivesTheNewMessageAFreshRecord) {
    FakeClock clock;
    RecordingHost host;
    TestStation me{"K1ABC", clock, host};
    me.settings.LimitMessages = 2;
    me.list.ApplySettings(me.settings);
    const uint64_t own = me.list.SendNewMessage("W1AW", "a long text that needs storage");
    me.list.ReceiveMessage("W1AW", "K1ABC", "ack1");
    me.list.ReceiveMessage("W1AW", "K1ABC", "hi{7");
    me.list.ReceiveMessage("W1AW", "K1ABC", "hi{7");  // counted twice, acked twice
    host.Clear();

    me.list.ReceiveMessage("N0CALL", "BLN1", "bulletin");  // the own message makes room
    const auto all = me.list.Snapshot();
    ASSERT_EQ(all.size(), 2u);
    const CMessage& added = all.back();
    EXPECT_GT(added.key, all.front().key);
    EXPECT_EQ(added.from, "N0CALL");
    EXPECT_EQ(added.to, "BLN1");
    EXPECT_EQ(added.number, "");
    EXPECT_EQ(added.text, "bulletin");
    EXPECT_FALSE(added.acked);
    EXPECT_EQ(added.count, 1);
    EXPECT_EQ(added.ackCount, 0);
    EXPECT_EQ(added.time, clock.Now());
    EXPECT_FALSE(me.list.Find(own).has_value());
    EXPECT_EQ(host.messageChanges(), (std::vector<uint64_t>{own, added.key}));
    EXPECT_FALSE(me.list.FindMessage("K1ABC", "W1AW", "1", "").has_value());

    me.list.ReceiveMessage("N0CALL", "BLN1", "bulletin");  // a copy, not a new record
    EXPECT_EQ(me.list.Snapshot().back().count, 2);
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

// Random receiving, acking, adding, deleting and limit changes: after every step every look-up
// gives the record a scan of the list gives.
TEST(MessageIndex, StoreAnswersAsALinearScanUnderRandomTraffic) {
    FakeClock clock;
    RecordingHost host;
    TestStation me{"K1ABC", clock, host};
    CMessageList& list = me.list;

    const std::vector<std::string> calls = {"K1ABC", "W1AW", "N0CALL", "BLN1"};
    const std::vector<std::string> numbers = {"", "1", "2", "12"};
    const std::vector<std::string> texts = {"", "hi", "hello", "hi there"};
    std::mt19937 random(7);
    const auto pick = [&](const std::vector<std::string>& items) {
        return items[random() % items.size()];
    };

    for (int step = 0; step < 3000; ++step) {
        const std::string from = pick(calls);
        const std::string to = pick(calls);
        const std::string number = pick(numbers);
        const std::string text = pick(texts);
        switch (random() % 8) {
            case 0:
            case 1:
            case 2:
                list.ReceiveMessage(from, to, number.empty() ? text : text + "{" + number);
                break;
            case 3:
                list.ReceiveMessage(from, to, "ack" + number);
                break;
            case 4:
                list.AddMessage(from, to, number, text);
                break;
            case 5: {
                const auto all = list.Snapshot();
                if (!all.empty())
                    list.Delete(all[random() % all.size()].key);
                break;
            }
            case 6:
                if (random() % 20 == 0) {
                    me.settings.LimitMessages = static_cast<int32_t>(1 + random() % 40);
                    list.ApplySettings(me.settings);
                    list.ApplyLimit();
                }
                break;
            default:
                list.SendPending("");
                break;
        }

        const auto all = list.Snapshot();
        for (int query = 0; query < 16; ++query) {
            const std::string qFrom = pick(calls);
            const std::string qTo = pick(calls);
            const std::string qNumber = pick(numbers);
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
}  // namespace plovane
