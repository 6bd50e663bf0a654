// SPDX-License-Identifier: GPL-3.0-or-later
// KISS over a pty for a serial TNC started in text mode (the radio suite does TCP); gpsd reports.
#include "comm/kiss_port.h"

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>

#include "comm/ax25.h"
#include "comm/gpsd_port.h"
#include "net_loopback.h"
#include "pty_peer.h"
#include "support/line_collector.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using testing::PtyPeer;

// The KISS frame of a monitor line.
std::string DataFrame(const std::string& monitorLine) {
    const size_t gt = monitorLine.find('>'), colon = monitorLine.find(':');
    const size_t comma = std::min(monitorLine.find(','), colon);
    Ax25Frame frame;
    EXPECT_TRUE(BuildUiFrame(monitorLine.substr(0, gt), monitorLine.substr(gt + 1, comma - gt - 1),
                             comma < colon ? monitorLine.substr(comma + 1, colon - comma - 1) : "",
                             monitorLine.substr(colon + 1), frame));
    const std::vector<uint8_t> bytes = KissDataFrame(0, EncodeAx25(frame));
    return std::string(bytes.begin(), bytes.end());
}

TEST(KissPortThreads, SerialTncSwitchedIntoKissNoiseDroppedAndHangUp) {
    PtyPeer peer;
    ASSERT_TRUE(peer.ok());
    const std::string file = ::testing::TempDir() + "kiss_port_test.tnc";
    std::ofstream(file) << "[PLOVANE-TNC-FILE:Test]\n[KISS]\nKISS ON\n[RESTORE]\nECHO ON\n";
    testing::RecordingHost host;
    LineQueue queue;
    CKissPort port(host, host);
    CStationSettings station;
    station.MyCall = "N0CALL";
    station.destination = "APQ102";
    port.SetStationSettings(station);
    port.SetTimings({50ms, 200ms, 2000ms});
    port.SetLineSink({&queue, {2, LineKind::kRf}, nullptr});
    testing::LineCollector collector(queue);
    const auto received = [&] { return collector.texts(); };
    CTncSettings tnc;
    tnc.enabled = true;
    tnc.mode = kTncKissSerial;
    tnc.port = peer.slavePath();
    tnc.tncCommandFile = file;
    port.SetTncSettings(tnc);
    ASSERT_TRUE(port.Open().open);
    ASSERT_TRUE(peer.WaitFor("KISS ON\r", 3s));

    // Line noise, a frame that is not UI, then a good one.
    std::string notUi = DataFrame("K1ABC>APRS:x");
    notUi[notUi.size() - 4] = 0x00;  // control 0x03 becomes an I frame
    peer.Write("\x01\x02\xDB" + notUi + DataFrame("K1ABC>APRS:!4903.50N/07201.75W-"));
    ASSERT_TRUE(testing::WaitUntil([&] { return received().size() == 1; }, 2s));
    EXPECT_EQ(received()[0], "K1ABC>APRS:!4903.50N/07201.75W-");
    EXPECT_EQ(port.framesDropped(), 1u);

    const size_t before = peer.Received().size();
    port.QueueText(":KB2XYZ   :hello{1\r");
    const std::string sent = DataFrame("N0CALL>APQ102,WIDE1-1,WIDE2-1::KB2XYZ   :hello{1");
    EXPECT_TRUE(peer.WaitFor(sent, 2s, before));

    // Close takes it back to text mode: the KISS exit, then the restore section.
    port.Close();
    EXPECT_TRUE(peer.WaitFor(std::string("\xC0\xFF\xC0") + "ECHO ON\r", 2s, before));

    ASSERT_TRUE(port.Open().open);
    ASSERT_TRUE(testing::WaitUntil([&] { return port.IsOpen(); }, 2s));
    peer.Hangup();
    EXPECT_TRUE(testing::WaitUntil([&] { return port.HasError(); }, 2s));
    port.Close();
}

// Over TCP: a frame queued while the link is being made waits for it; a flood of bad frames
// gives one notice at once and one count, not a notice each.
TEST(KissPortThreads, HeldFrameWaitsForTheLinkAndDroppedFramesAreCounted) {
    testing::LoopbackServer tnc(AF_INET, false);  // refuses until it listens
    ASSERT_TRUE(tnc.ok());
    testing::RecordingHost host;
    CKissPort port(host, host);
    CStationSettings station;
    station.MyCall = "N0CALL";
    station.destination = "APQ102";
    station.UIDigiPath = "";
    port.SetStationSettings(station);
    port.SetTimings({50ms, 100ms, 2000ms});
    CTncSettings settings;
    settings.enabled = true;
    settings.mode = kTncKissTcp;
    settings.kissHost = tnc.host();
    settings.kissPort = tnc.port();
    port.SetTncSettings(settings);
    ASSERT_TRUE(port.Open().open);
    ASSERT_TRUE(port.TakesText() && !port.IsOpen());
    port.QueueText(">online\r");
    ASSERT_TRUE(tnc.Listen());
    ASSERT_TRUE(tnc.Accept());
    EXPECT_TRUE(tnc.WaitFor(DataFrame("N0CALL>APQ102:>online")));

    constexpr size_t kBad = 500;
    std::string flood;
    for (size_t i = 0; i < kBad; ++i)
        flood += std::string("\xC0\x00\x01\x02\xC0", 5);  // too short for AX.25
    ASSERT_TRUE(tnc.Send(flood));
    ASSERT_TRUE(testing::WaitUntil([&] { return port.framesDropped() == kBad; }, 5s));
    port.Close();
    std::vector<std::string> told;
    for (const std::string& notice : host.notices()) {
        if (notice.starts_with("KISS frame"))
            told.push_back(notice);
    }
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[1].rfind("KISS frames dropped: " + std::to_string(kBad - 1) + " (the last: ", 0),
              0u)
        << told[1];
}

// Two KISS TNCs over TCP at once, one road: each frame arrives tagged with its port; closing
// one port leaves the other heard.
TEST(KissPortThreads, TwoTcpPortsShareTheRoadAndOneClosedLeavesTheOther) {
    testing::LoopbackServer tnc1, tnc2;
    ASSERT_TRUE(tnc1.ok() && tnc2.ok());
    testing::RecordingHost host;
    LineQueue queue;
    CKissPort port1(host, host), port2(host, host);
    int id = 1;
    for (auto [port, tnc] : {std::pair{&port1, &tnc1}, std::pair{&port2, &tnc2}}) {
        CTncSettings settings;
        settings.enabled = true;
        settings.mode = kTncKissTcp;
        settings.kissHost = tnc->host();
        settings.kissPort = tnc->port();
        port->SetTncSettings(settings);
        port->SetLineSink({&queue, {id++, LineKind::kRf}, nullptr});
        ASSERT_TRUE(port->Open().open);
        ASSERT_TRUE(tnc->Accept());
    }
    testing::LineCollector collector(queue);
    const auto heardOn = [&](int portId) {
        std::vector<std::string> lines;
        for (const HeardLine& line : collector.lines()) {
            if (line.origin == LineOrigin{portId, LineKind::kRf})
                lines.push_back(line.bytes);
        }
        return lines;
    };
    ASSERT_TRUE(tnc1.Send(DataFrame("K1ABC>APRS:>one")));
    ASSERT_TRUE(tnc2.Send(DataFrame("K2DEF>APRS:>two")));
    ASSERT_TRUE(testing::WaitUntil([&] { return collector.lines().size() == 2; }, 5s));
    EXPECT_EQ(heardOn(1), std::vector<std::string>{"K1ABC>APRS:>one"});
    EXPECT_EQ(heardOn(2), std::vector<std::string>{"K2DEF>APRS:>two"});

    port1.Close();
    ASSERT_TRUE(tnc2.Send(DataFrame("K2DEF>APRS:>still here")));
    ASSERT_TRUE(testing::WaitUntil([&] { return heardOn(2).size() == 2; }, 5s));
    EXPECT_EQ(heardOn(2).back(), "K2DEF>APRS:>still here");
    EXPECT_EQ(heardOn(1).size(), 1u);
    port2.Close();
}

TEST(Gpsd, ReportsGiveFixesOnlyForTpvWithATwoOrThreeDimensionalFix) {
    struct Case {
        const char* json;
        bool fix;
        const char* lat;
        const char* lon;
        int altitudeDm, knots, course;
        const char* time;
    };
    const Case cases[] = {
        {R"({"class":"TPV","mode":3,"time":"2026-03-23T12:30:08.000Z","lat":48.1173,)"
         R"("lon":11.516666667,"altMSL":545.47,"track":84.4,"speed":11.524})",
         true, "4807.04N", "01131.00E", 5454, 22, 84, "123008h"},
        // What gpsd prints for "3349.04,N,15117.00,W,005.0,27.9": the same step as the sentence.
        {R"({"class":"TPV","mode":2,"lat":33.817333333,"lon":-151.283333333,"speed":2.572,)"
         R"("track":27.9})",
         true, "3349.04N", "15117.00W", -1, 5, 28, ""},
        {R"({"class":"TPV","mode":2,"lat":-33.5,"lon":-70.25,"alt":100})", true, "3330.00S",
         "07015.00W", -1, 0, 0, ""},
        {R"({"class":"TPV","mode":1,"lat":48.0,"lon":11.0})", false, "", "", 0, 0, 0, ""},
        {R"({"class":"SKY","mode":3,"lat":48.0,"lon":11.0})", false, "", "", 0, 0, 0, ""},
        {R"({"class":"TPV","mode":3,"lat":91,"lon":11.0})", false, "", "", 0, 0, 0, ""},
        {R"({"class":"TPV","mode":3,"lat":48.0,)", false, "", "", 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        NmeaReport report;
        ASSERT_EQ(ParseGpsdReport(c.json, report), c.fix);
        if (!c.fix)
            continue;
        EXPECT_EQ(report.latitude, c.lat);
        EXPECT_EQ(report.longitude, c.lon);
        EXPECT_EQ(report.altitudeDm, c.altitudeDm);
        EXPECT_EQ(report.hasSpeed, c.knots > 0);
        EXPECT_EQ(report.speedKnots, c.knots);
        EXPECT_EQ(report.courseDegrees, c.course);
        EXPECT_EQ(report.time, c.time);
    }
}

}  // namespace
}  // namespace plovane
