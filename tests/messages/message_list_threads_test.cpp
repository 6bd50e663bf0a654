// SPDX-License-Identifier: GPL-3.0-or-later
// The TNC read thread and the user-interface thread (network lines) decode the same packets
// at the same moment while the output thread sends and a window reads. Run under
// ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "message_test_support.h"

namespace plovane::testing {
namespace {

TEST_F(MessageTest, SameMessagesFromTwoSourcesAreStoredOnce) {
    constexpr int kMessages = 300;
    list.SendNewMessage("W1AW", "pending while the traffic arrives");
    // Every third one is for us and numbered, so it is acked and re-arms the slot.
    const auto receive = [&] {
        for (int i = 0; i < kMessages; ++i) {
            const bool forUs = i % 3 == 0;
            list.ReceiveMessage(
                "N0CALL", forUs ? kMe : "BLN1",
                "text " + std::to_string(i) + (forUs ? "{" + std::to_string(i) : ""));
        }
    };
    std::atomic<bool> done{false};
    std::thread output([&] {
        while (!done) {
            list.SendPending("");
            for (const CMessage& m : list.Snapshot())
                ASSERT_LE(m.ackCount, 5);
        }
    });
    std::thread tnc(receive);
    std::thread network(receive);
    tnc.join();
    network.join();
    done = true;
    output.join();

    const auto all = list.Snapshot();
    ASSERT_EQ(all.size(), kMessages + 1u);
    std::set<uint64_t> keys;
    std::set<std::string> texts;
    for (const CMessage& m : all) {
        keys.insert(m.key);
        if (m.from == "N0CALL") {
            texts.insert(m.text);
            EXPECT_EQ(m.count, 2) << m.text;
        }
    }
    EXPECT_EQ(keys.size(), all.size());
    EXPECT_EQ(texts.size(), static_cast<size_t>(kMessages));
    EXPECT_EQ(me.transmit.messageSlotArms, 1 + 2 * ((kMessages + 2) / 3));
    EXPECT_TRUE(list.MessageWaiting());
}

}  // namespace
}  // namespace plovane::testing
