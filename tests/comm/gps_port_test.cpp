// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/gps_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/clock.h"
#include "core/geo.h"
#include "core/line_queue.h"
#include "intake/intake_thread.h"
#include "intake/packet_intake.h"
#include "nmea_text.h"
#include "pty_peer.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using testing::PtyPeer;
using testing::RecordingHost;
using testing::WithChecksum;

struct GpsFixture {
    GpsFixture()
        : stations(stationSettings, clock, host, host),
          decoder(clock, PacketTargets{host, stations}),
          road(lines, decoder),
          port(host, host) {
        profile.WriteString("Station", "MyCall", "W1AW");
        stationSettings.Load(profile);
        stations.ApplySettings(stationSettings, false);
        port.SetStations(&stations);
        port.SetDelayScale(0.01);
        // The receiver's lines reach the store by the road, as in the program.
        road.SetFixHook([this](const HeardLine& line) { ApplyOwnFix(stations, line); });
        road.Start();
        port.SetLineSink({&lines, {0, LineKind::kNmea}, &clock});
        decoder.SetSentenceSink([this](std::string_view source, std::string_view destination,
                                       std::string_view path, std::string_view sentence) {
            port.ParseSentence(source, destination, path, sentence, false);
        });
    }

    RecordingHost host;
    MemoryProfile profile;
    FakeClock clock{CDateTime(2026, 3, 23, 12, 0, 0)};
    CStationSettings stationSettings;
    CGpsSettings gpsSettings;
    CStationList stations;
    CPacketIntake decoder;
    LineQueue lines;
    CIntakeThread road;
    CGpsPort port;
};

TEST(GpsSentence, PacketsAndReceiverLinesUpdateTheirTarget) {
    GpsFixture f;
    // Inside another station's packet: that station is updated.
    f.decoder.DecodeLine(
        "N0CALL>APRS,WIDE1-1:" +
            WithChecksum("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,"),
        "TNC>");
    auto other = f.stations.FindStation("N0CALL");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->position.colatitude, ParseLatitude("4807.04N"));
    EXPECT_EQ(other->position.longitude, ParseLongitude("01131.00E"));
    EXPECT_EQ(other->speed, 22);
    EXPECT_EQ(other->course, 84);

    // A sentence we do not take becomes the station's information text...
    ApplySentence(f.stations, "N0CALL", "APRS", "WIDE1-1", "$GPGSA,A,3,04,05*00\r\n", false);
    other = f.stations.FindStation("N0CALL");
    EXPECT_EQ(other->lastInfo, "$GPGSA,A,3,04,05*00");
    // ...unless it came from the receiver, which is simply ignored.
    ApplySentence(f.stations, "N2XYZ", "", "", "$GPGSA,A,3,04,05*00", true);
    EXPECT_FALSE(f.stations.Contains("N2XYZ"));

    // A missing course keeps the stored one.
    ApplySentence(f.stations, "N0CALL", "", "", WithChecksum("GPVTG,,T,,M,7.9,N,,K"), true);
    other = f.stations.FindStation("N0CALL");
    EXPECT_EQ(other->speed, 8);
    EXPECT_EQ(other->course, 84);

    // A bare sentence in the TNC's stream is the own position while GPS comes through the TNC.
    const std::string gga = WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,1.0,M,,,,");
    f.port.TakeTncLine(gga + "\r");
    EXPECT_FALSE(f.stations.OwnStation().hasPosition);
    f.profile.WriteInt("Comm", "GPSEnabled", 1);
    f.profile.WriteInt("Comm", "GPSType", kGpsFromTncPolled);
    f.gpsSettings.Load(f.profile);
    f.port.SetSettings(f.gpsSettings);
    f.port.TakeTncLine("N9ABC>APRS:" + gga + "\r");  // a packet's sentence is not the own
    EXPECT_FALSE(f.stations.OwnStation().hasPosition);
    f.port.TakeTncLine(" " + gga + "\r");
    EXPECT_TRUE(f.stations.OwnStation().hasPosition);
    EXPECT_EQ(f.stations.OwnStation().position.altitude, 10);
}

TEST(GpsPortThreads, OwnStationFollowsTheReceiver) {
    GpsFixture f;
    PtyPeer peer;
    ASSERT_TRUE(peer.ok());
    CGpsSettings receiver;  // written as the setup sheet saves it
    receiver.enabled = true;
    receiver.source = kGpsSerialPort;
    receiver.port = peer.slavePath();
    receiver.Save(f.profile);
    f.gpsSettings.Load(f.profile);
    f.port.SetSettings(f.gpsSettings);
    ASSERT_TRUE(f.port.Open().open);
    EXPECT_TRUE(f.host.boxes().empty());

    auto own = [&] { return f.stations.OwnStation(); };
    auto waitFor = [&](auto done) { return testing::WaitUntil(done, 2s); };

    peer.Write(WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
               "\r\n");
    ASSERT_TRUE(waitFor([&] { return own().hasPosition; }));
    EXPECT_EQ(own().call, "W1AW");
    EXPECT_EQ(own().position.colatitude, ParseLatitude("4807.04N"));
    EXPECT_EQ(own().position.longitude, ParseLongitude("01131.00E"));
    EXPECT_EQ(own().position.altitude, 5454);

    // A bad checksum changes nothing; the next good (lower-case checksum) sentence does.
    std::string bad = WithChecksum("GPRMC,123520,A,5000.000,N,01000.000,E,010.0,090.0,230394,,");
    bad.back() = bad.back() == '0' ? '1' : '0';
    peer.Write(bad + "\r\n");
    peer.Write(WithChecksum("GPRMC,123521,A,4807.100,N,01131.000,E,012.7,271.2,230394,,", true) +
               "\r\n");
    ASSERT_TRUE(waitFor([&] { return own().speed == 13; }));
    EXPECT_EQ(own().course, 271);
    EXPECT_EQ(own().position.colatitude, ParseLatitude("4807.10N"));

    // No fix: the position stays, but course and speed of a void RMC still count.
    peer.Write(WithChecksum("GPGGA,123522,,,,,0,00,,,M,,M,,") + "\r\n");
    peer.Write(WithChecksum("GPRMC,123523,V,,,,,3.0,180.0,230394,,") + "\r\n");
    ASSERT_TRUE(waitFor([&] { return own().speed == 3; }));
    EXPECT_EQ(own().course, 180);
    EXPECT_EQ(own().position.colatitude, ParseLatitude("4807.10N"));

    f.port.Close();
    EXPECT_EQ(peer.Received(), "");  // nothing is ever sent to a receiver
    EXPECT_FALSE(f.port.HasError());
}

}  // namespace
}  // namespace plovane
