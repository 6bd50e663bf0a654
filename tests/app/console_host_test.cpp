// The headless station's host: where its texts go, how its boxes are answered, and its queue.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/console_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

std::string Contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

TEST(ConsoleHost, NoticesToOutputBoxesToErrorsAnsweredWithTheHarmlessButton) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    ConsoleHost host(out, err);
    host.ShowNotice("notice");
    host.ShowProgress("loading");
    EXPECT_EQ(host.MessageBox("ok?", MessageBoxIcon::kQuestion, MessageBoxButtons::kOk, ""),
              MessageBoxResult::kOk);
    EXPECT_EQ(host.MessageBox("delete?", MessageBoxIcon::kQuestion, MessageBoxButtons::kYesNo, ""),
              MessageBoxResult::kNo);
    EXPECT_EQ(host.MessageBox("a", MessageBoxIcon::kQuestion, MessageBoxButtons::kYesNoCancel, ""),
              MessageBoxResult::kCancel);
    EXPECT_EQ(host.MessageBox("b", MessageBoxIcon::kQuestion, MessageBoxButtons::kOkCancel, ""),
              MessageBoxResult::kCancel);
    EXPECT_EQ(Contents(out), "notice\nloading\n");
    EXPECT_EQ(Contents(err), "ok?\ndelete?\na\nb\n");
    std::fclose(out);
    std::fclose(err);
}

TEST(ConsoleHost, PostsQueueInOrderAndWakeEndsAWaitEarly) {
    ConsoleHost host(nullptr, nullptr);
    host.Post(ThreadMessage::kEchoLine, "one");
    host.Post(ThreadMessage::kPortStatus);
    EXPECT_EQ(host.WaitForPost(0ms), std::pair(ThreadMessage::kEchoLine, std::string("one")));
    EXPECT_EQ(host.WaitForPost(0ms), std::pair(ThreadMessage::kPortStatus, std::string()));
    EXPECT_FALSE(host.WaitForPost(1ms));
    const auto start = std::chrono::steady_clock::now();
    std::thread waker([&] { host.Wake(); });
    EXPECT_FALSE(host.WaitForPost(60s));
    waker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              30s);  // the wake ended it, not the time-out
}

}  // namespace
}  // namespace plovane
