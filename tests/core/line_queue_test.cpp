// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/line_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace plovane {
namespace {

// Several producers through a queue much smaller than their traffic: the one consumer gets
// every line, each producer's in its own order.
TEST(Threads, LineQueueManyProducersOneConsumerLosesNothing) {
    constexpr int kProducers = 4;
    constexpr int kLines = 2000;
    LineQueue queue(3);
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&queue, p] {
            for (int i = 0; i < kLines; ++i)
                ASSERT_TRUE(queue.Push({{p + 1, LineKind::kRf}, {}, std::to_string(i)}));
        });
    }
    std::vector<int> next(kProducers + 1, 0);
    HeardLine line;
    for (int taken = 0; taken < kProducers * kLines; ++taken) {
        ASSERT_TRUE(queue.Pop(line));
        ASSERT_EQ(line.bytes, std::to_string(next[line.origin.port]++));
    }
    for (auto& producer : producers)
        producer.join();
    for (int p = 1; p <= kProducers; ++p)
        EXPECT_EQ(next[p], kLines);
    EXPECT_EQ(queue.size(), 0u);
}

// Producers waiting on a full queue are woken by Close and refused; the consumer still gets
// what was queued before, then the end.
TEST(Threads, LineQueueCloseEndsWaitingProducers) {
    LineQueue queue(2);
    std::vector<std::thread> producers;
    for (int p = 0; p < 3; ++p) {
        producers.emplace_back([&queue] {
            while (queue.Push({{0, LineKind::kInternet}, {}, "x"})) {
            }
        });
    }
    while (queue.size() < queue.capacity())
        std::this_thread::yield();
    queue.Close();
    for (auto& producer : producers)
        producer.join();
    const LineSink sink{&queue, {}, nullptr};
    EXPECT_FALSE(sink.Put("late"));
    HeardLine line;
    int left = 0;
    while (queue.Pop(line))
        ++left;
    EXPECT_EQ(left, 2);
}

}  // namespace
}  // namespace plovane
