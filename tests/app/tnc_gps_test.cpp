// SPDX-License-Identifier: GPL-3.0-or-later
// The TNC's monitor stream through the running application: packets and GPS sentences.
#include <gtest/gtest.h>

#include <chrono>

#include "app/plovane_app.h"
#include "comm/nmea_text.h"
#include "comm/pty_peer.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

TEST(AppTncStream, PacketsAndTheOwnGpsSentencesReachTheStores) {
    testing::PtyPeer peer;
    ASSERT_TRUE(peer.ok());
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteInt("Comm", "TNCEnabled", 1);
    profile.WriteString("Comm", "TNCCommPort", peer.slavePath());
    profile.WriteInt("Comm", "GPSEnabled", 1);
    profile.WriteInt("Comm", "GPSType", kGpsFromTncMonitor);
    testing::RecordingHost host;
    FakeClock clock(CDateTime(2026, 8, 1, 0, 5, 0));
    CPlovaneApp app(profile, host, clock);
    app.tnc().SetDelayScale(0.01);
    ASSERT_TRUE(app.Start({}));
    ASSERT_TRUE(testing::WaitUntil([&] { return app.tnc().IsOpen(); }, 5s));

    peer.Write("W1XYZ>APRS:!4903.50N/07201.75W-\r\n" +
               testing::WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,1.0,M,,,,") +
               "\r\n");
    EXPECT_TRUE(testing::WaitUntil([&] { return app.stations().OwnStation().hasPosition; }, 5s));
    EXPECT_TRUE(app.stations().Contains("W1XYZ"));
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
