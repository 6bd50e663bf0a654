// KISS over a pty for a serial TNC started in text mode (the radio suite does TCP); gpsd reports.
#include "comm/kiss_port.h"

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>

#include "comm/ax25.h"
#include "comm/gpsd_port.h"
#include "pty_peer.h"
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
    CKissPort port(host, host);
    CStationSettings station;
    station.MyCall = "N0CALL";
    station.destination = "APQ102";
    port.SetStationSettings(station);
    port.SetTimings({50ms, 200ms, 2000ms});
    std::mutex mutex;
    std::vector<std::string> lines;  // guarded by mutex
    port.SetLineHandler([&](std::string_view line) {
        std::lock_guard lock(mutex);
        lines.emplace_back(line);
    });
    const auto received = [&] {
        std::lock_guard lock(mutex);
        return lines;
    };
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
         true, "4807.03N", "01131.00E", 5454, 22, 84, "123008h"},
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
