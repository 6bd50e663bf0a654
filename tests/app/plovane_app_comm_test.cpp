// The application core with a real network client against loopback servers: log-in,
// server lines decoded on the user-interface thread, acks and retried messages on the wire,
// and a restart of the communications onto a new host.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/plovane_app.h"
#include "comm/net_loopback.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

// Plays the user-interface thread: hands every posted message to the application until
// `done` holds or the time is up.
template <typename Done>
bool PumpUntil(CPlovaneApp& app, testing::RecordingHost& host, size_t& handled, Done done) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
        const auto posts = host.posts();
        for (; handled < posts.size(); ++handled) {
            app.OnThreadMessage(posts[handled].first, posts[handled].second);
        }
        if (done()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

TEST(PlovaneAppThreads, NetworkStationLogsInExchangesMessagesAndMovesToANewHost) {
    testing::LoopbackServer first;
    testing::LoopbackServer second;
    ASSERT_TRUE(first.ok() && second.ok());

    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteString("Station", "Status", "Listening");
    // No scheduled status: the start-up announcement could race the connection.
    profile.WriteInt("Station", "TransmitStatus", 0);
    profile.WriteInt("Comm", "NetEnabled", 1);
    profile.WriteString("Comm", "HostAddress", first.host());
    profile.WriteString("Comm", "HostPort", first.port());
    testing::RecordingHost host;
    SystemClock clock;
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));

    ASSERT_TRUE(first.Accept());
    EXPECT_EQ(first.ReadLine().rfind("user N0CALL-9 pass 13023 vers Plovane 1.02", 0), 0u);

    ASSERT_TRUE(first.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-hi\r\n"));
    size_t handled = 0;
    EXPECT_TRUE(PumpUntil(app, host, handled,
                          [&] { return app.stations().FindStation("W1AAA").has_value(); }));
    const auto station = app.stations().FindStation("W1AAA");
    ASSERT_TRUE(station.has_value());
    EXPECT_EQ(station->comment, "hi");

    // A numbered message to us is acknowledged at once on the network.
    app.decoder().DecodeLine("W1AAA>APRS,TCPIP*::N0CALL-9 :Hi there{42", "NET>");
    EXPECT_EQ(first.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :ack42\r");

    // Our own message goes out with its number and is retried until the matching ack; every
    // sending also repeats the ack still due (at most five in all).
    ASSERT_NE(app.messages().SendNewMessage("W1AAA", "test"), 0u);
    EXPECT_EQ(first.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :ack42\r");
    EXPECT_EQ(first.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :test{1\r");
    app.SendMessagesNow();
    EXPECT_EQ(first.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :ack42\r");
    EXPECT_EQ(first.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :test{1\r");
    app.decoder().DecodeLine("W1AAA>APRS,TCPIP*::N0CALL-9 :ack1 ", "NET>");
    ASSERT_EQ(app.messages().Snapshot().size(), 2u);
    EXPECT_TRUE(app.messages().Snapshot()[1].acked);
    app.SendMessagesNow();  // the third ack, but no more of the acked message
    EXPECT_EQ(first.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :ack42\r");
    app.SendStatusNow();  // the menu command sends even with scheduled status off
    const std::string status = first.ReadLine();
    EXPECT_EQ(status.rfind("N0CALL-9>APQ102,TCPIP*:>", 0), 0u) << status;
    EXPECT_NE(status.find("zListening\r"), std::string::npos) << status;

    // The setup sheet names another server: the restart connects there and logs in again.
    profile.WriteString("Comm", "HostPort", second.port());
    app.OnThreadMessage(ThreadMessage::kCommSetupDone, {});
    ASSERT_TRUE(second.Accept());
    EXPECT_EQ(second.ReadLine().rfind("user N0CALL-9 pass 13023", 0), 0u);

    app.Shutdown();
    EXPECT_EQ(app.net(), nullptr);
}

}  // namespace
}  // namespace plovane
