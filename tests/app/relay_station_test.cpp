// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate and digipeater on the road: a KISS TNC and an APRS-IS server on loopback, and a
// flood on the relay's own clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "app_rig.h"
#include "comm/ax25.h"
#include "comm/kiss.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

// The KISS frame of a monitor line, as a TNC hands it over (and as we send a relayed one).
std::string KissOf(const std::string& monitorLine) {
    Ax25Frame frame;
    EXPECT_TRUE(ParseMonitorLine(monitorLine, frame)) << monitorLine;
    const std::vector<uint8_t> bytes = KissDataFrame(0, EncodeAx25(frame));
    return std::string(bytes.begin(), bytes.end());
}

TEST(PlovaneAppThreads, RelayGatesAndDigipeatsBetweenTheKissTncAndAprsIs) {
    testing::LoopbackServer tnc;
    ASSERT_TRUE(tnc.ok());
    MemoryProfile profile;
    profile.WriteInt("Comm", "TNCEnabled", 1);
    profile.WriteInt("Comm", "TNCMode", kTncKissTcp);
    profile.WriteString("Comm", "KISSHost", tnc.host());
    profile.WriteString("Comm", "KISSPort", tnc.port());
    profile.WriteInt("Digipeater", "Enabled", 1);
    SystemClock clock;
    testing::NetStation net(profile, clock);
    CPlovaneApp& app = net.app;
    ASSERT_TRUE(tnc.Accept());

    // A home fill-in digipeater: our call inserted, the WIDE1 hop marked used; once only.
    const std::string heard = "K1ABC>APRS,WIDE1-1:!4903.50N/07201.75W-Test";
    ASSERT_TRUE(tnc.Send(KissOf(heard) + KissOf(heard)));
    EXPECT_TRUE(tnc.WaitFor(KissOf("K1ABC>APRS,N0CALL-9,WIDE1*:!4903.50N/07201.75W-Test")));
    ASSERT_TRUE(net.PumpUntil([&] { return app.kiss().framesReceived() == 2; }));
    EXPECT_EQ(app.relay().digipeated(), 1u);

    // The IGate dialog's OK reaches the running relay: from now on RF goes to APRS-IS with
    // the information bytes as heard (UTF-8 too); what must stay on RF does.
    profile.WriteInt("IGate", "Enabled", 1);
    profile.WriteInt("IGate", "IsToRf", 1);
    app.RelaySetupDone();
    for (const std::string line : {"K1DEF>APRS,NOGATE:>not me", "K1DEF>APRS,RFONLY:>nor me",
                                   "K1DEF>APRS:>Grüße aus dem Tal"})
        ASSERT_TRUE(tnc.Send(KissOf(line)));
    EXPECT_EQ(net.server.ReadLine(), "K1DEF>APRS,qAR,N0CALL-9:>Grüße aus dem Tal\r");
    EXPECT_EQ(app.relay().igateCounts().toInternet, 1u);

    // A message for the station heard on RF goes out there as a third-party packet; one for
    // a station also heard on APRS-IS does not.
    ASSERT_TRUE(tnc.Send(KissOf("K1GHI>APRS:>here")));
    ASSERT_TRUE(net.server.ReadLine().starts_with("K1GHI>APRS,qAR,N0CALL-9:>here"));
    ASSERT_TRUE(net.server.Send("K1GHI>APRS,TCPIP*,qAC,T2TEST:>online too\r\n"
                                "W1AAA>APRS,TCPIP*,qAC,T2TEST::K1GHI    :skip{2\r\n"
                                "W1AAA>APRS,TCPIP*,qAC,T2TEST::K1DEF    :Hello{1\r\n"));
    EXPECT_TRUE(tnc.WaitFor(
        KissOf("N0CALL-9>APQ102,WIDE1-1:}W1AAA>APRS,TCPIP,N0CALL-9*::K1DEF    :Hello{1")));
    EXPECT_EQ(app.relay().igateCounts().toRf, 1u);
    app.Shutdown();
}

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
    EXPECT_LE(relay.Remembered(), 2 * IGate::kMaxPackets + 5 * IGate::kMaxStations +
                                      Digipeater::kMaxRemembered);
}

}  // namespace
}  // namespace plovane
