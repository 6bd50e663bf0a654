// The network client against a real server on the loopback interface. The test plays the
// user-interface thread: whenever kNetLines is posted it runs the decoder's intake, which
// cuts the lines out of the client's buffer and decodes them as "NET>" lines.
#include "comm/net_manager.h"

#include <gtest/gtest.h>

#include <netdb.h>

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
#include "core/timed_lock.h"
#include "core/version.h"
#include "intake/packet_intake.h"
#include "net_loopback.h"
#include "stations/station_list.h"
#include "support/recording_host.h"
#include "transmit/output_scheduler.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackServer;
using testing::RecordingHost;
using SteadyClock = std::chrono::steady_clock;

const std::string kLogin = "user N0CALL pass 13023 vers Plovane 1.02\r";
const std::string kRefused = "Last Error #: " + std::to_string(ECONNREFUSED);

class NetManagerThreads : public ::testing::Test {
  protected:
    NetManagerThreads() {
        profile.WriteString("Station", "MyCall", "N0CALL");
        settings.Load(profile);
        stations.ApplySettings(settings, false);  // loads the settings: MyCall is N0CALL
        net.SetMyCall("N0CALL");
        timings.retryInterval = 50ms;
        timings.connectTimeout = 5s;
        timings.drainLimit = 5s;
        timings.closeDrainLimit = 2s;
        net.SetTimings(timings);
        EXPECT_TRUE(net.CreateObjects().open);
    }
    ~NetManagerThreads() override { net.Close(); }

    void Configure(const std::string& host, const std::string& port, bool autoReconnect = false,
                   const std::string& filter = "") {
        profile.WriteInt("Comm", "NetEnabled", 1);
        profile.WriteInt("Comm", "AutoReconnect", autoReconnect ? 1 : 0);
        profile.WriteString("Comm", "HostAddress", host);
        profile.WriteString("Comm", "HostPort", port);
        profile.WriteString("Comm", "NetFilter", filter);
        net.SetTimings(timings);
        net.LoadSettings(profile);
    }

    // Opens towards the server and takes the connection with its login line.
    void Connect(LoopbackServer& server, bool autoReconnect = false) {
        ASSERT_TRUE(server.ok());
        Configure(server.host(), server.port(), autoReconnect);
        ASSERT_TRUE(net.Open().open);
        ASSERT_TRUE(server.Accept());
        ASSERT_EQ(server.ReadLine(), kLogin);
        ASSERT_TRUE(WaitFor([&] { return net.IsOpen(); }));
    }

    size_t CountPosts(ThreadMessage message) const {
        size_t count = 0;
        for (const auto& post : host.posts())
            count += post.first == message ? 1 : 0;
        return count;
    }

    void DecodeNetLines() {
        DrainLines(net.Buffer(),
                   [this](std::string_view line) { decoder.DecodeLine(line, "NET>"); });
    }

    // Waits for the condition while acting as the user-interface thread.
    bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s) {
        const auto deadline = SteadyClock::now() + limit;
        for (;;) {
            const size_t posted = CountPosts(ThreadMessage::kNetLines);
            if (posted > handledNetLines_) {
                handledNetLines_ = posted;
                DecodeNetLines();
            }
            if (condition())
                return true;
            if (SteadyClock::now() > deadline)
                return false;
            std::this_thread::sleep_for(2ms);
        }
    }

    size_t BufferFill() {
        auto lock = TimedLock(net.Buffer().mutex);
        return net.Buffer().fill;
    }

    bool Noticed(const std::string& text) const {
        for (const std::string& notice : host.notices())
            if (notice == text)
                return true;
        return false;
    }

    template <typename F>
    static std::chrono::milliseconds Timed(F&& f) {
        const auto start = SteadyClock::now();
        f();
        return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start);
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock{CDateTime(2026, 3, 10, 12, 0, 0)};
    RecordingHost host;
    CStationList stations{settings, clock, host, host};
    CPacketIntake decoder{clock, PacketTargets{host, stations}};
    NetTimings timings;
    CNetManager net{host, host};  // last: its threads stop before the rest goes

  private:
    size_t handledNetLines_ = 0;
};

TEST_F(NetManagerThreads, LogsInWithCallPasscodeAndOptionalFilter) {
    struct Case {
        const char* filter;
        const char* login;
    } cases[] = {
        {"", "user N0CALL pass 13023 vers Plovane 1.02\r"},
        {"r/50.1/14.4/100", "user N0CALL pass 13023 vers Plovane 1.02 filter r/50.1/14.4/100\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        LoopbackServer server;
        ASSERT_TRUE(server.ok());
        Configure(server.host(), server.port(), false, c.filter);
        ASSERT_TRUE(net.Open().open);
        EXPECT_TRUE(net.IsPending() || net.IsOpen());
        ASSERT_TRUE(server.Accept());
        EXPECT_EQ(server.ReadLine(), c.login);
        EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Active] "; }));
        EXPECT_TRUE(WaitFor([&] {
            for (const auto& post : host.posts())
                if (post.first == ThreadMessage::kEchoLine &&
                    post.second == "NET>" + std::string(c.login))
                    return true;
            return false;
        }));
        net.Close();
        EXPECT_EQ(net.StatusText(), "");
        host.Clear();
    }
}

TEST_F(NetManagerThreads, ReceivedLinesAreDecodedAsNetworkStations) {
    LoopbackServer server;
    Connect(server);
    server.Send("# aprsc 2.1.14\r\n");
    server.Send("N0AAA>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-Test\r\n");
    // A line split over two packets is decoded once it is whole.
    server.Send("N0BBB>APRS,TCPIP*:>half a ");
    ASSERT_TRUE(WaitFor([&] { return stations.Contains("N0AAA"); }));
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(stations.Contains("N0BBB"));
    server.Send("status\r\n");
    ASSERT_TRUE(WaitFor([&] { return stations.Contains("N0BBB"); }));
    EXPECT_EQ(stations.FindStation("N0BBB")->lastInfo, "half a status");
    EXPECT_TRUE(Noticed("NET>N0AAA>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-Test"));
    EXPECT_TRUE(Noticed("NET># aprsc 2.1.14"));
}

TEST_F(NetManagerThreads, OwnPacketsGoOutWithTheNetworkHeader) {
    LoopbackServer server;
    Connect(server);
    COutputScheduler scheduler(clock, host);
    scheduler.SetPorts(nullptr, &net);
    settings.destination = kOwnDestination;
    scheduler.ApplySettings(settings);
    scheduler.SendStatus("Testing the link");
    const std::string line = server.ReadLine();
    EXPECT_EQ(line.rfind("N0CALL>APQ102,TCPIP*:>", 0), 0u) << line;
    EXPECT_NE(line.find("Testing the link\r"), std::string::npos) << line;
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& post : host.posts())
            if (post.first == ThreadMessage::kEchoLine && post.second == "NET>" + line)
                return true;
        return false;
    }));
}

TEST_F(NetManagerThreads, LongTextIsCutTo1023Characters) {
    LoopbackServer server;
    Connect(server);
    net.QueueText(std::string(1500, 'A'));
    net.QueueText("N0CALL>APQ102,TCPIP*:>next\r");
    EXPECT_EQ(server.ReadBytes(1023), std::string(1023, 'A'));
    EXPECT_EQ(server.ReadLine(), "N0CALL>APQ102,TCPIP*:>next\r");
}

TEST_F(NetManagerThreads, ServerCloseWithoutAutoReconnectLeavesError) {
    LoopbackServer server;
    Connect(server);
    server.Drop();
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Error] "; }));
    EXPECT_FALSE(net.IsOpen());
    // Nothing more happens until the next Open.
    EXPECT_FALSE(server.Accept(300ms));
    net.QueueText("N0CALL>APQ102,TCPIP*:>lost\r");
    EXPECT_EQ(net.StatusText(), "[Error] ");
}

TEST_F(NetManagerThreads, AutoReconnectWaitsThenLogsInAgain) {
    timings.retryInterval = 150ms;
    LoopbackServer server;
    Connect(server, true);
    server.Drop();
    const auto dropped = SteadyClock::now();
    ASSERT_TRUE(server.Accept());
    const auto gap = SteadyClock::now() - dropped;
    EXPECT_GE(gap, 140ms);  // not hammering a server that drops us
    // The new connection gets its own login before anything else.
    EXPECT_EQ(server.ReadLine(), kLogin);
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Active] "; }));
    server.Send("N0CCC>APRS:>back\r\n");
    EXPECT_TRUE(WaitFor([&] { return stations.Contains("N0CCC"); }));
    net.QueueText("N0CALL>APQ102,TCPIP*:>again\r");
    EXPECT_EQ(server.ReadLine(), "N0CALL>APQ102,TCPIP*:>again\r");
}

TEST_F(NetManagerThreads, RefusedConnectionEndsInErrorWithoutAutoReconnect) {
    LoopbackServer server(AF_INET, false);
    ASSERT_TRUE(server.ok());
    Configure(server.host(), server.port(), false);
    ASSERT_TRUE(net.Open().open);
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Error] " + kRefused; }));
    EXPECT_EQ(net.LastError(), ECONNREFUSED);
    server.Listen();
    EXPECT_FALSE(server.Accept(300ms));
}

TEST_F(NetManagerThreads, RefusedConnectionIsRetriedUntilTheServerListens) {
    LoopbackServer server(AF_INET, false);
    ASSERT_TRUE(server.ok());
    Configure(server.host(), server.port(), true);
    ASSERT_TRUE(net.Open().open);
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Pending] " + kRefused; }));
    // Every failed attempt reports its state again, one per retry interval.
    const size_t before = CountPosts(ThreadMessage::kPortStatus);
    std::this_thread::sleep_for(400ms);
    const size_t failures = CountPosts(ThreadMessage::kPortStatus) - before;
    EXPECT_GE(failures, 3u);
    EXPECT_LE(failures, 9u);
    ASSERT_TRUE(server.Listen());
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(server.ReadLine(), kLogin);
    EXPECT_TRUE(WaitFor([&] { return net.StatusText() == "[Active] " + kRefused; }));
}

TEST_F(NetManagerThreads, TextsQueuedWhileConnectingGoOutAfterTheLogin) {
    LoopbackServer server(AF_INET, false);
    ASSERT_TRUE(server.ok());
    Configure(server.host(), server.port(), true);
    ASSERT_TRUE(net.Open().open);
    ASSERT_TRUE(WaitFor([&] { return net.StatusText() == "[Pending] " + kRefused; }));
    // One more than the queue holds: the oldest goes, with a notice.
    const size_t count = CNetManager::kMaxHeldTexts + 1;
    for (size_t i = 0; i < count; ++i)
        net.QueueText("N0CALL>APQ102,TCPIP*::N0AAA    :ack" + std::to_string(i) + "\r");
    EXPECT_TRUE(Noticed("APRS-IS not connected: the oldest waiting text was dropped."));
    ASSERT_TRUE(server.Listen());
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(server.ReadLine(), kLogin);
    for (size_t i = 1; i < count; ++i)
        ASSERT_EQ(server.ReadLine(),
                  "N0CALL>APQ102,TCPIP*::N0AAA    :ack" + std::to_string(i) + "\r");
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
        EXPECT_LT(net.LastError(), 0);
        EXPECT_EQ(net.StatusText(),
                  std::string("[Error] Host lookup failed: ") + gai_strerror(net.LastError()));
        net.Close();
    }
}

TEST_F(NetManagerThreads, ChunkWithNulKeepsTheBytesAfterIt) {
    LoopbackServer server;
    Connect(server);
    using namespace std::string_literals;
    server.Send("N0AAA>APRS:>one\r\n\0N0BBB>APRS:>tw\0o\r\n"s);
    ASSERT_TRUE(WaitFor([&] { return stations.Contains("N0BBB"); }));
    EXPECT_TRUE(stations.Contains("N0AAA"));
    EXPECT_EQ(stations.FindStation("N0BBB")->lastInfo, "two");
}

TEST_F(NetManagerThreads, NeverEndingLineIsDroppedAndLaterLinesDecode) {
    LoopbackServer server;
    Connect(server);
    server.Send(std::string(120000, 'X'));
    server.Send("YYYY\r\nN0AAA>APRS:>after the flood\r\n");
    ASSERT_TRUE(WaitFor([&] { return stations.Contains("N0AAA"); }));
    EXPECT_EQ(stations.FindStation("N0AAA")->lastInfo, "after the flood");
    EXPECT_EQ(BufferFill(), 0u);
    for (const std::string& notice : host.notices())
        EXPECT_EQ(notice.find("XY"), std::string::npos) << "the tail of the dropped line";
}

TEST_F(NetManagerThreads, FullBufferWaitsForTheIntakeThenDropsOnlyWholeLines) {
    timings.drainLimit = 20ms;
    LoopbackServer server;
    Connect(server);
    // 3300 lines of 17 bytes: more than the buffer holds, and nobody takes lines yet.
    std::string flood;
    for (int i = 0; i < 3300; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "N0X%04d>APRS:>t\r\n", i);
        flood += line;
    }
    ASSERT_EQ(flood.size(), 56100u);
    server.Send(flood);
    const auto full = SteadyClock::now() + 5s;
    while (BufferFill() + 2 * CNetManager::kReadChunkBytes < ReceiveBuffer::kNetworkCapacity &&
           SteadyClock::now() < full)
        std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(1000ms);  // the reader gives up on the rest meanwhile
    DecodeNetLines();
    server.Send("N0END>APRS:>end\r\n");
    ASSERT_TRUE(WaitFor([&] { return Noticed("NET>N0END>APRS:>end"); }, 10s));

    // Lines were lost, but every line shown is one that was sent, whole.
    const std::regex sent("NET>N0X[0-9]{4}>APRS:>t|NET>N0END>APRS:>end");
    size_t shown = 0;
    for (const std::string& notice : host.notices()) {
        if (notice.rfind("NET>", 0) != 0)
            continue;
        ++shown;
        EXPECT_TRUE(std::regex_match(notice, sent)) << notice;
    }
    EXPECT_LT(shown, 3301u);
    EXPECT_GT(shown, ReceiveBuffer::kNetworkCapacity / 17 - 60);
}

TEST_F(NetManagerThreads, CloseDuringADrainWaitReturnsPromptly) {
    timings.drainLimit = 60s;
    LoopbackServer server;
    Connect(server);
    std::string lines;
    while (lines.size() < 60000)
        lines += "N0AAA>APRS:>waiting for the intake\r\n";
    server.Send(lines);
    const auto full = SteadyClock::now() + 5s;
    while (BufferFill() + 2 * CNetManager::kReadChunkBytes < ReceiveBuffer::kNetworkCapacity &&
           SteadyClock::now() < full)
        std::this_thread::sleep_for(5ms);
    EXPECT_LT(Timed([&] { net.Close(); }), 1000ms);
    EXPECT_EQ(net.StatusText(), "");
}

TEST_F(NetManagerThreads, CloseWhileBackingOffReturnsPromptly) {
    timings.retryInterval = 60s;
    LoopbackServer server(AF_INET, false);
    ASSERT_TRUE(server.ok());
    Configure(server.host(), server.port(), true);
    ASSERT_TRUE(net.Open().open);
    ASSERT_TRUE(WaitFor([&] { return net.StatusText() == "[Pending] " + kRefused; }));
    EXPECT_LT(Timed([&] { net.Close(); }), 1000ms);
    EXPECT_EQ(net.StatusText(), kRefused);  // the code stays for the next look
}

TEST_F(NetManagerThreads, CloseWhileConnectingReturnsPromptly) {
    // A server whose accept queue is full drops further connection requests, so the
    // client's connect stays under way.
    LoopbackServer server(AF_INET, false);
    ASSERT_TRUE(server.ok());
    ASSERT_TRUE(server.Listen(0));
    std::vector<int> queued;
    for (int i = 0; i < 4; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(std::stoi(server.port())));
        connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        queued.push_back(fd);
    }
    std::this_thread::sleep_for(100ms);
    Configure(server.host(), server.port(), false);
    ASSERT_TRUE(net.Open().open);
    std::this_thread::sleep_for(300ms);
    if (!net.IsPending()) {
        for (int fd : queued)
            close(fd);
        GTEST_SKIP() << "this kernel completed the connection despite the full accept queue";
    }
    EXPECT_LT(Timed([&] { net.Close(); }), 1000ms);
    EXPECT_FALSE(net.IsPending());
    for (int fd : queued)
        close(fd);
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
        server.Send("N0V6>APRS:>over six\r\n");
        EXPECT_TRUE(WaitFor([&] { return stations.Contains("N0V6"); }));
        net.Close();
    }
}

TEST_F(NetManagerThreads, HostNameConnectsAndReconnects) {
    // "localhost" may also name ::1, where nobody listens: the next address is tried.
    LoopbackServer server;
    ASSERT_TRUE(server.ok());
    Configure("localhost", server.port(), true);
    ASSERT_TRUE(net.Open().open);
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(server.ReadLine(), kLogin);
    server.Drop();
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(server.ReadLine(), kLogin);
    EXPECT_TRUE(WaitFor([&] { return net.IsOpen(); }));
}

}  // namespace
}  // namespace plovane
