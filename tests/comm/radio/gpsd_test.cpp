// SPDX-License-Identifier: GPL-3.0-or-later
// A real gpsd fed by its log player sets the own position; a restarted daemon is found again.
#include <gtest/gtest.h>

#include <fstream>

#include "../nmea_text.h"
#include "comm/gps_port.h"
#include "comm/gpsd_port.h"
#include "intake/intake_thread.h"
#include "radio_fixture.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using namespace testing;

std::string Sentence(const std::string& body) {
    return WithChecksum(body) + "\r\n";
}

std::string Rmc(const std::string& time, const std::string& lat, const std::string& lon) {
    return Sentence("GPRMC," + time + ",A," + lat + ",N," + lon + ",E,005.0,084.4,230394,,");
}
std::string Gga(const std::string& time, const std::string& lat, const std::string& lon) {
    return Sentence("GPGGA," + time + "," + lat + ",N," + lon + ",E,1,08,0.9,545.4,M,46.9,M,,");
}

// Ten seconds of fixes at one place: RMC (course and speed) and GGA (altitude).
void WriteLog(const std::string& path, const std::string& lat, const std::string& lon) {
    std::ofstream log(path);
    for (int s = 0; s < 10; ++s) {
        const std::string time = "12300" + std::to_string(s);
        log << Rmc(time, lat, lon) << Gga(time, lat, lon);
    }
}

bool StartGpsd(ChildProcess& gpsfake, const ScratchDir& dir, const std::string& log) {
    return gpsfake.Start({"gpsfake", "-q", "-c", "0.1", "-P", "2947", log}, dir / "gpsfake.log");
}

TEST(Gpsd, OwnPositionFollowsTheFixesAndARestartedDaemonIsFoundAgain) {
    SKIP_WITHOUT_NAMESPACE();
    ScratchDir dir;
    // Whole hundredths of a minute and knots, which gpsd's degrees and m/s only come near.
    WriteLog(dir / "first.nmea", "3349.04", "15117.00");
    WriteLog(dir / "second.nmea", "4900.500", "01200.250");

    RadioStation station("W9XYZ");
    LineQueue lines;
    CIntakeThread road(lines, station.intake);
    road.SetFixHook([&](const HeardLine& line) { ApplyOwnFix(station.stations, line); });
    ASSERT_TRUE(road.Start());
    CGpsdPort gpsd(station.host);
    gpsd.SetLineSink({&lines, {0, LineKind::kGpsd}, &station.clock});
    PortTimings timings;
    timings.retryFirst = 100ms;
    timings.retryMax = 400ms;
    gpsd.SetTimings(timings);

    ChildProcess gpsfake;
    ASSERT_TRUE(StartGpsd(gpsfake, dir, dir / "first.nmea"));
    ASSERT_TRUE(gpsd.Open("localhost", "2947").open);
    ASSERT_TRUE(WaitUntil([&] { return gpsd.fixesSent() > 2; }, 20s))
        << ReadFile(dir / "gpsfake.log");
    road.Flush();

    // The same fix from a serial receiver, applied to a second station.
    RadioStation serial("W9XYZ");
    ApplySentence(serial.stations, "", "", "", Rmc("123001", "3349.04", "15117.00"), true);
    ApplySentence(serial.stations, "", "", "", Gga("123001", "3349.04", "15117.00"), true);
    const auto own = [](const RadioStation& s) { return *s.stations.FindStation("W9XYZ"); };
    EXPECT_EQ(own(station).position, own(serial).position);
    EXPECT_EQ(own(station).course, 84);
    EXPECT_EQ(own(station).speed, 5);
    EXPECT_EQ(own(serial).speed, 5);

    // gpsd goes away and comes back with another position.
    gpsfake.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !gpsd.IsOpen(); }, 10s));
    EXPECT_TRUE(gpsd.HasError());
    ASSERT_TRUE(StartGpsd(gpsfake, dir, dir / "second.nmea"));
    const auto before = own(station).position;
    EXPECT_TRUE(
        WaitUntil([&] { return own(station).position.colatitude != before.colatitude; }, 30s))
        << ReadFile(dir / "gpsfake.log");
    EXPECT_TRUE(gpsd.IsOpen());
    gpsd.Close();
    EXPECT_FALSE(gpsd.IsOpen());
}

}  // namespace
}  // namespace plovane
