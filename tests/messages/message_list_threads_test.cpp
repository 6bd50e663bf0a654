#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "message_test_support.h"
#include "messages/message_list.h"

namespace plovane {
namespace {

using testing::RecordingHost;
using testing::TestStation;

// The TNC read thread and the user-interface thread (network lines) decode the same packets
// at the same moment while the output thread sends and a window reads.
TEST(MessageListThreads, SameMessagesFromTwoSourcesAreStoredOnce) {
    constexpr int kMessages = 300;
    FakeClock clock;
    RecordingHost host;
    TestStation me("K1ABC", clock, host);
    me.list.SendNewMessage("W1AW", "pending while the traffic arrives");

    std::vector<std::string> texts;
    for (int i = 0; i < kMessages; ++i) {
        // Every third one is for us and numbered, so it is acked and re-arms the slot.
        texts.push_back("text " + std::to_string(i) + (i % 3 == 0 ? "{" + std::to_string(i) : ""));
    }
    auto receive = [&] {
        for (int i = 0; i < kMessages; ++i) {
            me.list.ReceiveMessage("N0CALL", i % 3 == 0 ? "K1ABC" : "BLN1", texts[i]);
        }
    };

    std::atomic<bool> done{false};
    std::thread output([&] {
        while (!done) {
            me.list.SendPending("");
            for (const CMessage& m : me.list.Snapshot())
                ASSERT_LE(m.ackCount, 5);
        }
    });
    std::thread tnc(receive);
    std::thread network(receive);
    tnc.join();
    network.join();
    done = true;
    output.join();

    const auto all = me.list.Snapshot();
    ASSERT_EQ(all.size(), kMessages + 1u);
    std::set<uint64_t> keys;
    std::map<std::string, int> perText;
    for (const CMessage& m : all) {
        keys.insert(m.key);
        if (m.from == "N0CALL") {
            ++perText[m.text];
            EXPECT_EQ(m.count, 2) << m.text;
        }
    }
    EXPECT_EQ(keys.size(), all.size());
    EXPECT_EQ(perText.size(), static_cast<size_t>(kMessages));
    EXPECT_EQ(me.transmit.messageSlotArms, 1 + 2 * ((kMessages + 2) / 3));
    EXPECT_TRUE(me.list.MessageWaiting());
}

}  // namespace
}  // namespace plovane
