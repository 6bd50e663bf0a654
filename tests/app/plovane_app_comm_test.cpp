// The application core with a real network client against loopback servers: log-in, the
// start-up announcement, server lines decoded on the user-interface thread, and a restart
// of the communications onto a new host.
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

TEST(PlovaneAppThreads, NetworkStationLogsInAnnouncesDecodesAndMovesToANewHost) {
    testing::LoopbackServer first;
    testing::LoopbackServer second;
    ASSERT_TRUE(first.ok() && second.ok());

    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteInt("Station", "TransmitStatus", 1);
    profile.WriteInt("Comm", "NetEnabled", 1);
    profile.WriteString("Comm", "HostAddress", first.host());
    profile.WriteString("Comm", "HostPort", first.port());
    testing::RecordingHost host;
    SystemClock clock;
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));

    ASSERT_TRUE(first.Accept());
    EXPECT_EQ(first.ReadLine().rfind("user N0CALL-9 pass 13023 vers Plovane 1.02", 0), 0u);
    const std::string announcement = first.ReadLine();
    EXPECT_EQ(announcement.rfind("N0CALL-9>APQ102,TCPIP*:>", 0), 0u) << announcement;
    EXPECT_NE(announcement.find("Plovane v1.02 online..."), std::string::npos) << announcement;

    ASSERT_TRUE(first.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-hi\r\n"));
    size_t handled = 0;
    EXPECT_TRUE(PumpUntil(app, host, handled,
                          [&] { return app.stations().FindStation("W1AAA").has_value(); }));
    const auto station = app.stations().FindStation("W1AAA");
    ASSERT_TRUE(station.has_value());
    EXPECT_EQ(station->comment, "hi");

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
