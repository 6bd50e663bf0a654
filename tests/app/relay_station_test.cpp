// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate and digipeater under a flood, on the relay's own clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/relay_station.h"

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

}  // namespace
}  // namespace plovane
