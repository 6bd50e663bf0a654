// The message store's look-up by match key against a scan of the list, under random traffic.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "message_test_support.h"

namespace plovane::testing {
namespace {

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
            if (found)
                ASSERT_EQ(found->key, expected->key) << "step " << step;
        }
    }
}

}  // namespace
}  // namespace plovane::testing
