// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt host: requests from worker threads arrive on the GUI thread, merged while waiting.
#include "ui/qt_host.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <thread>
#include <vector>

#include "ui_test_support.h"

namespace plovane {
namespace {

using plovane::testing::WaitFor;

// Posts and station changes from workers arrive on the GUI thread; repeats of one kind wait as
// one with the latest text, each changed station comes once.
TEST(QtHostThreads, PostsAndStationChangesFromManyThreadsArriveMergedOnTheGuiThread) {
    QtHost host;
    std::vector<std::pair<ThreadMessage, std::string>> deliveries;
    std::vector<std::string> seen;
    int changeDeliveries = 0;
    bool gotAll = false;
    QtHost::Receivers receivers;
    receivers.threadMessage = [&](ThreadMessage message, const std::string& text) {
        EXPECT_EQ(QThread::currentThread(), host.thread());
        deliveries.emplace_back(message, text);
    };
    receivers.stationsChanged = [&](const std::vector<std::string>& calls, bool all) {
        EXPECT_EQ(QThread::currentThread(), host.thread());
        seen.insert(seen.end(), calls.begin(), calls.end());
        gotAll = all;
        ++changeDeliveries;
    };
    host.SetReceivers(receivers);

    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&host] {
            for (int i = 0; i < 5000; ++i) {
                host.Post(ThreadMessage::kPortStatus);
                host.StationChanged("N0CALL-" + std::to_string(i % 50));
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    host.Post(ThreadMessage::kEchoLine, "NET>one");
    host.Post(ThreadMessage::kEchoLine, "NET>two");
    EXPECT_TRUE(deliveries.empty());  // nothing is called on the posting thread
    ASSERT_TRUE(WaitFor([&] { return deliveries.size() >= 2 && changeDeliveries > 0; }));
    WaitFor([] { return false; }, 50);  // anything else queued would arrive now
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_EQ(deliveries[0].first, ThreadMessage::kPortStatus);
    EXPECT_EQ(deliveries[1].second, "NET>two");
    EXPECT_EQ(changeDeliveries, 1);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen.size(), 50u);
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_FALSE(gotAll);

    // Too many waiting at once become "all", without the list.
    seen.clear();
    for (size_t i = 0; i <= QtHost::kMaxPendingChanges; ++i)
        host.StationChanged(std::to_string(i));
    ASSERT_TRUE(WaitFor([&] { return gotAll; }));
    EXPECT_TRUE(seen.empty());
    // Once delivered, a post is queued again.
    host.Post(ThreadMessage::kPortStatus);
    ASSERT_TRUE(WaitFor([&] { return deliveries.size() == 3; }));
}

// Notices and progress from a worker keep their latest state; message boxes answer at once.
TEST(QtHostThreads, NoticesProgressAndMessageBoxesFromAWorkerNeverBlockIt) {
    QtHost host;
    host.SetInteractive(false);
    std::vector<QString> notices;
    std::vector<std::string> calls;
    QtHost::Receivers receivers;
    receivers.notice = [&](const QString& text) { notices.push_back(text); };
    receivers.progressShow = [&](const QString& text) {
        calls.push_back("show:" + text.toStdString());
    };
    receivers.progressSet = [&](int percent) { calls.push_back(std::to_string(percent)); };
    receivers.progressHide = [&] { calls.push_back("hide"); };
    host.SetReceivers(receivers);

    std::atomic<int> answered{0};
    std::thread worker([&] {
        host.ShowNotice("TNC>W1AW>APRS:first");
        host.ShowNotice("TNC>W1AW>APRS:caf\xe9");
        answered += host.MessageBox("Unable to open port.", MessageBoxIcon::kExclamation,
                                    MessageBoxButtons::kYesNo) == MessageBoxResult::kNo;
        answered += host.MessageBox("Unable to open port.", MessageBoxIcon::kExclamation,
                                    MessageBoxButtons::kOkCancel) == MessageBoxResult::kCancel;
        host.ShowProgress("Reading map:");
        for (int i = 0; i <= 100; ++i)
            host.SetProgress(i);
    });
    worker.join();
    EXPECT_EQ(answered.load(), 2);
    ASSERT_TRUE(WaitFor([&] { return calls.size() >= 2 && !notices.empty(); }));
    EXPECT_EQ(calls, (std::vector<std::string>{"show:Reading map:", "100"}));
    // Only the latest waiting notice is shown; Latin-1 bytes that are not UTF-8 stay Latin-1.
    EXPECT_EQ(notices, std::vector<QString>{QString::fromUtf8("TNC>W1AW>APRS:caf\xc3\xa9")});
}

}  // namespace
}  // namespace plovane
