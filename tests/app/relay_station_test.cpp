// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate and digipeater under a flood, on the relay's own clock, and gating from two
// radio ports at once against loopback KISS peers and a loopback APRS-IS server.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/relay_station.h"
#include "app_rig.h"
#include "support/child_process.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

// 50 frames a second for a minute each way: at most the rate limit goes to the radio, and
// what the relay remembers stays within its bounds.
TEST(RelayStation, FloodKeepsTheRateLimitAndBoundedTables) {
    RelayTime now{};
    std::vector<std::pair<int, std::string>> radio;
    size_t internet = 0;
    CRelayStation relay([&](const std::string&) { ++internet; },
                        [&](int port, const std::string& line) {
                            radio.emplace_back(port, line);
                            return true;
                        },
                        [&] { return now; });
    IGateSettings igate;
    igate.Enabled = igate.IsToRf = true;
    DigipeaterSettings digipeater;
    digipeater.Enabled = true;
    relay.Apply(igate, digipeater, "N0CALL-9", "APQ102");
    relay.SetRadioPorts({1}, {1});
    relay.Heard({{0, LineKind::kInternet}, {}, "# logresp N0CALL-9 verified, server T2\r\n"});
    relay.Heard({{1, LineKind::kRf}, {}, "K1ABC>APRS:>local"});
    // Lines from files and log replays are neither gated nor relayed.
    relay.Heard({{1, LineKind::kFile}, {}, "K1XYZ>APRS,WIDE1-1:>from a file"});
    relay.Heard({{1, LineKind::kReplay}, {}, "W1AAA>APRS,TCPIP*::K1ABC    :old{9"});
    ASSERT_EQ(internet, 1u);
    ASSERT_TRUE(radio.empty());
    for (int i = 0; i < 3000; ++i, now += 20ms) {
        const std::string n = std::to_string(i);
        relay.Heard({{0, LineKind::kInternet}, {}, "W1AAA>APRS,TCPIP*::K1ABC    :m" + n + "{" + n});
        relay.Heard({{1, LineKind::kRf}, {}, "K" + n + ">APRS,WIDE1-1:>flood"});
    }
    const auto gated = std::ranges::count_if(
        radio, [](const auto& sent) { return sent.second.starts_with("N0CALL-9>APQ102"); });
    EXPECT_EQ(gated, 6);  // one minute at six a minute
    EXPECT_GT(relay.igateCounts().heldByRateLimit, 2900u);
    EXPECT_EQ(relay.digipeated(), 3000u);
    EXPECT_LE(relay.Remembered(),
              2 * IGate::kMaxPackets + 5 * IGate::kMaxStations + Digipeater::kMaxRemembered);
}

// Two KISS TCP ports gate at once: each port's frames reach the server, a message goes out
// only where its addressee was heard, and the second port keeps gating once the first's TNC
// is unplugged.
TEST(RelayStationThreads, TwoRadioPortsGateAndOneOutlivesTheOther) {
    std::optional<testing::LoopbackServer> tnc1(std::in_place);
    testing::LoopbackServer tnc2;
    ASSERT_TRUE(tnc1->ok() && tnc2.ok());
    MemoryProfile profile;
    profile.WriteInt("Comm", "TNCPorts", 2);
    for (auto [section, server] : {std::pair{"Comm", &*tnc1}, std::pair{"TNC2", &tnc2}}) {
        profile.WriteInt(section, "TNCEnabled", 1);
        profile.WriteInt(section, "TNCMode", kTncKissTcp);
        profile.WriteString(section, "KISSHost", server->host());
        profile.WriteString(section, "KISSPort", server->port());
    }
    profile.WriteInt("TNC2", "IGate", 1);
    profile.WriteInt("IGate", "Enabled", 1);
    profile.WriteInt("IGate", "IsToRf", 1);
    SystemClock clock;
    testing::NetStation net(profile, clock);
    CPlovaneApp& app = net.app;
    ASSERT_TRUE(tnc1->Accept() && tnc2.Accept());
    ASSERT_TRUE(
        testing::WaitUntil([&] { return app.relay().InternetStatus().starts_with("IGate;"); },
                           5s));  // the login is verified

    ASSERT_TRUE(tnc1->Send(testing::KissFrameOf("K1ABC>APRS,WIDE1-1:>port one Grüße")));
    EXPECT_EQ(net.server.ReadLine(), "K1ABC>APRS,WIDE1-1,qAR,N0CALL-9:>port one Grüße\r");
    ASSERT_TRUE(tnc2.Send(testing::KissFrameOf("K2DEF>APRS:>port two")));
    EXPECT_EQ(net.server.ReadLine(), "K2DEF>APRS,qAR,N0CALL-9:>port two\r");

    // Each message leaves on the port where its addressee was heard, and there alone.
    const auto message = [](const char* to, const std::string& text) {
        return "W1AAA>APRS,TCPIP*,qAC,T2TEST::" + std::string(to) + "    :" + text;
    };
    const auto thirdParty = [](const char* to, const std::string& text) {
        return "N0CALL-9>APQ102,WIDE1-1:}W1AAA>APRS,TCPIP,N0CALL-9*::" + std::string(to) + "    :" +
               text;
    };
    ASSERT_TRUE(
        net.server.Send(message("K2DEF", "one{1") + "\r\n" + message("K1ABC", "hi{2") + "\r\n"));
    const auto framed = [](const char* text) { return std::string(text) + '\xC0'; };
    ASSERT_TRUE(tnc2.WaitFor(framed("one{1")) && tnc1->WaitFor(framed("hi{2")));
    EXPECT_EQ(testing::KissMonitorLines(tnc2.received()),
              std::vector<std::string>{thirdParty("K2DEF", "one{1")});
    EXPECT_EQ(testing::KissMonitorLines(tnc1->received()),
              std::vector<std::string>{thirdParty("K1ABC", "hi{2")});

    // Port 1's TNC goes away; port 2 still gates both ways.
    tnc1.reset();
    ASSERT_TRUE(tnc2.Send(testing::KissFrameOf("K2XYZ>APRS:>still here")));
    EXPECT_EQ(net.server.ReadLine(), "K2XYZ>APRS,qAR,N0CALL-9:>still here\r");
    ASSERT_TRUE(net.server.Send(message("K2DEF", "two{3") + "\r\n"));
    ASSERT_TRUE(tnc2.WaitFor(framed("two{3")));
    EXPECT_EQ(
        testing::KissMonitorLines(tnc2.received()),
        (std::vector<std::string>{thirdParty("K2DEF", "one{1"), thirdParty("K2DEF", "two{3")}));
    EXPECT_EQ(app.relay().igateCounts().toRf, 3u);
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
