// SPDX-License-Identifier: GPL-3.0-or-later
// Against a real loopback server, the lines applied by a real intake thread.
#include "comm/net_manager.h"

#include <gtest/gtest.h>

#include <netdb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "core/version.h"
#include "intake/intake_thread.h"
#include "intake/packet_intake.h"
#include "net_loopback.h"
#include "stations/station_list.h"
#include "support/recording_host.h"
#include "transmit/output_scheduler.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackServer;
using SteadyClock = std::chrono::steady_clock;

const std::string kLogin = "user N0CALL pass 13023 vers Plovane 1.02\r";
const std::string kVerified = "# logresp N0CALL verified, server T2TEST\r\n";
const std::string kRefused = "Last Error #: " + std::to_string(ECONNREFUSED);

template <typename F>
std::chrono::milliseconds Timed(F&& f) {
    const auto start = SteadyClock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start);
}

class NetManagerThreads : public ::testing::Test {
  protected:
    NetManagerThreads() {
        profile.WriteString("Station", "MyCall", "N0CALL");
        settings.Load(profile);
        stations.ApplySettings(settings, false);
        net.SetMyCall("N0CALL");
        net.SetLineSink({&lines, {0, LineKind::kInternet}, &clock});
        timings = {50ms, 5s, 2s};
        EXPECT_TRUE(net.CreateObjects().open);
    }
    ~NetManagerThreads() override { net.Close(); }

    void Configure(const std::string& host, const std::string& port, bool autoReconnect = false,
                   const std::string& filter = "") {
        CNetSettings{true, autoReconnect, host, port, filter}.Save(profile);
        net.SetTimings(timings);
        CNetSettings loaded;
        loaded.Load(profile);
        net.SetSettings(loaded);
    }

    // Opens towards the server and takes the connection with its login line.
    void Connect(LoopbackServer& server, bool autoReconnect = false) {
        ASSERT_TRUE(server.ok());
        Configure(server.host(), server.port(), autoReconnect);
        ASSERT_TRUE(net.Open().open);
        ASSERT_TRUE(server.Accept());
        ASSERT_EQ(server.ReadLine(), kLogin);
        ASSERT_TRUE(server.Send(kVerified));
        ASSERT_TRUE(WaitFor([&] { return net.IsOpen(); }));
    }

    // Opens towards a server that refuses, with auto-reconnect, until the client reports it.
    void OpenRefused(LoopbackServer& server) {
        ASSERT_TRUE(server.ok());
        Configure(server.host(), server.port(), true);
        ASSERT_TRUE(net.Open().open);
        ASSERT_TRUE(WaitFor([&] { return net.StatusText() == "[Pending] " + kRefused; }));
    }

    bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s) {
        const auto deadline = SteadyClock::now() + limit;
        while (!condition()) {
            if (SteadyClock::now() > deadline)
                return false;
            std::this_thread::sleep_for(2ms);
        }
        return true;
    }

    bool Posted(ThreadMessage message, const std::string& text) const {
        const auto posts = host.posts();
        return std::find(posts.begin(), posts.end(), std::make_pair(message, text)) != posts.end();
    }
    bool Noticed(const std::string& text) const {
        const auto notices = host.notices();
        return std::find(notices.begin(), notices.end(), text) != notices.end();
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock{CDateTime(2026, 3, 10, 12, 0, 0)};
    testing::RecordingHost host;
    CStationList stations{settings, clock, host, host};
    CPacketIntake decoder{clock, PacketTargets{host, stations}};
    LineQueue lines{64};
    CIntakeThread intake{lines, decoder};  // started by each test once it wants lines taken
    NetTimings timings;
    CNetManager net{host, host};  // last: its thread stops before the rest goes
};

TEST_F(NetManagerThreads, LogsInWithTheFilterAndSendsQueuedTexts) {
    LoopbackServer server;
    ASSERT_TRUE(server.ok());
    // A line end in the filter must not smuggle in a second line.
    Configure(server.host(), server.port(), false, "  r/50/14/100\r\nN0CALL>APRS:>x");
    ASSERT_TRUE(net.Open().open);
    ASSERT_TRUE(server.Accept());
    const std::string login = "user N0CALL pass 13023 vers Plovane 1.02 filter r/50/14/100\r";
    EXPECT_EQ(server.ReadLine(), login);
    // The passcode is not shown; the echo is what went out, LF and all.
    EXPECT_TRUE(WaitFor([&] {
        return Posted(ThreadMessage::kEchoLine,
                      "NET>user N0CALL pass ***** vers Plovane 1.02 filter r/50/14/100\r\n");
    }));
    // Not open before the server has answered the login.
    EXPECT_FALSE(WaitFor([&] { return net.IsOpen(); }, 200ms));
    EXPECT_EQ(net.StatusText(), "[Pending] ");
    ASSERT_TRUE(server.Send("# aprsc 2.1.19\r\n# logresp N0CALL ver"));
    ASSERT_TRUE(server.Send("ified, server T2TEST\r\n"));
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Active] "; }));
    for (const auto& [message, text] : host.posts())
        EXPECT_EQ(text.find("13023"), std::string::npos) << text;

    // Own packets get the network header; a long text is cut to 1023 characters.
    COutputScheduler scheduler(clock, host);
    scheduler.SetPorts(nullptr, &net);
    settings.destination = kOwnDestination;
    scheduler.ApplySettings(settings);
    scheduler.SendStatus("Testing the link");
    EXPECT_EQ(server.ReadLine().rfind("N0CALL>APQ102,TCPIP*:>", 0), 0u);
    net.QueueText(std::string(1500, 'A'));
    net.QueueText("next\r");
    EXPECT_EQ(server.ReadLine(), std::string(1023, 'A') + "next\r");
    // Without auto-reconnect a dropped link ends in an error until the next Open.
    server.Drop();
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Error] "; }));
    EXPECT_FALSE(server.Accept(300ms));
    net.Close();
    EXPECT_EQ(net.StatusText(), "");
}

TEST_F(NetManagerThreads, RefusedIsRetriedAndTextsHeldMeanwhileFollowTheLogin) {
    LoopbackServer server(AF_INET, false);
    OpenRefused(server);
    EXPECT_EQ(net.LastError(), ECONNREFUSED);
    // Every failed attempt reports its state again, one per retry interval.
    const size_t before = host.CountPosts(ThreadMessage::kPortStatus);
    std::this_thread::sleep_for(400ms);
    const size_t failures = host.CountPosts(ThreadMessage::kPortStatus) - before;
    EXPECT_GE(failures, 3u);
    EXPECT_LE(failures, 9u);
    // One more than the client holds: the oldest goes, with a notice.
    const size_t count = CNetManager::kMaxHeldTexts + 1;
    for (size_t i = 0; i < count; ++i)
        net.QueueText("ack" + std::to_string(i) + "\r");
    EXPECT_TRUE(Noticed("APRS-IS not connected: the oldest waiting text was dropped."));
    ASSERT_TRUE(server.Listen());
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(server.ReadLine(), kLogin);
    for (size_t i = 1; i < count; ++i)
        ASSERT_EQ(server.ReadLine(), "ack" + std::to_string(i) + "\r");
    EXPECT_EQ(net.StatusText(), "[Pending] " + kRefused);
    ASSERT_TRUE(server.Send(kVerified));
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Active] " + kRefused; }));
}

// A refused passcode shows as unverified; a server that then stops talking but keeps the
// connection is left and connected to again, even without auto-reconnect.
TEST_F(NetManagerThreads, UnverifiedLoginIsShownAndASilentServerIsLeft) {
    timings.silenceLimit = 1000ms;
    LoopbackServer server;
    ASSERT_TRUE(server.ok());
    Configure(server.host(), server.port());
    ASSERT_TRUE(net.Open().open);
    ASSERT_TRUE(server.Accept());
    ASSERT_EQ(server.ReadLine(), kLogin);
    ASSERT_TRUE(server.Send("# logresp N0CALL unverified, server T2TEST\r\n"));
    const std::string answer = "refused the passcode, receive only (unverified, server T2TEST)";
    EXPECT_TRUE(
        WaitFor([&] { return net.StatusText() == "[Unverified] The server " + answer + " "; }));
    EXPECT_TRUE(net.IsOpen() && net.HasError());
    EXPECT_TRUE(WaitFor([&] { return Noticed("APRS-IS: the server " + answer + "."); }));
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(server.ReadLine(), kLogin);
}

TEST_F(NetManagerThreads, HostThatDoesNotResolveIsAnErrorWithTheResolversText) {
    // A label longer than 63 characters fails in the resolver itself: no query leaves here.
    const std::string unresolvable = std::string(70, 'a') + ".invalid";
    for (const bool autoReconnect : {false, true}) {
        SCOPED_TRACE(autoReconnect);
        Configure(unresolvable, "14580", autoReconnect);
        ASSERT_TRUE(net.Open().open);
        EXPECT_TRUE(WaitFor([&] { return net.HasError(); }));
        EXPECT_FALSE(net.IsPending());
        EXPECT_EQ(net.StatusText(),
                  std::string("[Error] Host lookup failed: ") + gai_strerror(net.LastError()));
        net.Close();
    }
}

TEST_F(NetManagerThreads, NeverEndingLineIsDroppedAndLaterLinesDecode) {
    ASSERT_TRUE(intake.Start());
    LoopbackServer server;
    Connect(server);
    server.Send(std::string(120000, 'X'));
    using namespace std::string_literals;
    server.Send("YYYY\r\nN0AAA>APRS:>after the\0 flood\r\n"s);  // NUL bytes are dropped
    ASSERT_TRUE(WaitFor([&] { return stations.Contains("N0AAA"); }));
    EXPECT_EQ(stations.FindStation("N0AAA")->lastInfo, "after the flood");
    for (const std::string& notice : host.notices())
        EXPECT_EQ(notice.find("XY"), std::string::npos) << "the tail of the dropped line";
}

// A flood while nobody takes lines: the reader waits for room on the road, and once the
// intake runs every line arrives, whole and in order.
TEST_F(NetManagerThreads, FullQueueHoldsTheReaderAndNothingIsLost) {
    LoopbackServer server;
    Connect(server);
    constexpr int kFlood = 3300;  // more than the queue and the receive buffer hold
    std::string flood;
    for (int i = 0; i < kFlood; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "N0X%04d>APRS:>t\r\n", i);
        flood += line;
    }
    server.Send(flood + "N0END>APRS:>end\r\n");
    ASSERT_TRUE(WaitFor([&] { return lines.size() == lines.capacity(); }));
    ASSERT_TRUE(intake.Start());
    ASSERT_TRUE(WaitFor([&] { return Noticed("NET>N0END>APRS:>end"); }, 10s));
    std::vector<std::string> shown;
    for (const std::string& notice : host.notices()) {
        if (notice.rfind("NET>N0", 0) == 0)
            shown.push_back(notice);
    }
    ASSERT_EQ(shown.size(), kFlood + 1u);
    for (int i = 0; i < kFlood; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "NET>N0X%04d>APRS:>t", i);
        ASSERT_EQ(shown[i], line);
    }
}

TEST_F(NetManagerThreads, CloseReturnsPromptlyFromEveryWait) {
    {
        SCOPED_TRACE("waiting for room on the road");
        LoopbackServer server;
        Connect(server);
        std::string flood;
        while (flood.size() < 60000)
            flood += "N0AAA>APRS:>waiting for the intake\r\n";
        server.Send(flood);
        ASSERT_TRUE(WaitFor([&] { return lines.size() == lines.capacity(); }));
        EXPECT_LT(Timed([&] { net.Close(); }), 1000ms);
    }
    {
        SCOPED_TRACE("backing off");
        timings.retryInterval = 60s;
        LoopbackServer server(AF_INET, false);
        OpenRefused(server);
        EXPECT_LT(Timed([&] { net.Close(); }), 1000ms);
        EXPECT_EQ(net.StatusText(), kRefused);  // the code stays for the next look
    }
    {
        SCOPED_TRACE("connecting");
        // A full accept queue drops further requests: the client's connect stays under way.
        LoopbackServer server(AF_INET, false);
        ASSERT_TRUE(server.ok());
        ASSERT_TRUE(server.Listen(0));
        std::vector<int> queued;
        for (int i = 0; i < 4; ++i) {
            queued.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            address.sin_port = htons(static_cast<uint16_t>(std::stoi(server.port())));
            connect(queued.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        }
        std::this_thread::sleep_for(100ms);
        Configure(server.host(), server.port(), false);
        ASSERT_TRUE(net.Open().open);
        std::this_thread::sleep_for(300ms);
        if (net.IsPending()) {
            EXPECT_LT(Timed([&] { net.Close(); }), 1000ms);
        }
        EXPECT_FALSE(net.IsPending());
        for (int fd : queued)
            close(fd);
    }
}

TEST_F(NetManagerThreads, ConnectsOverIpv6Loopback) {
    LoopbackServer server(AF_INET6);
    if (!server.ok())
        GTEST_SKIP() << "no IPv6 loopback address here";
    for (const std::string address : {"::1", "[::1]"}) {
        SCOPED_TRACE(address);
        Configure(address, server.port());
        ASSERT_TRUE(net.Open().open);
        ASSERT_TRUE(server.Accept());
        EXPECT_EQ(server.ReadLine(), kLogin);
        net.Close();
    }
}

}  // namespace
}  // namespace plovane
