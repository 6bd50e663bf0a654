// SPDX-License-Identifier: GPL-3.0-or-later
// gpsd reports: any text parses without harm, and a report taken as a fix has well-formed
// position texts that the station store accepts.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "comm/gps_port.h"
#include "comm/gpsd_port.h"
#include "core/clock.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "stations/station_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plovane;
    NmeaReport report;
    if (!ParseGpsdReport(std::string_view(reinterpret_cast<const char*>(data), size), report))
        return 0;
    if (report.latitude.size() != 8 || report.longitude.size() != 9 ||
        (report.latitude.back() != 'N' && report.latitude.back() != 'S') ||
        (report.longitude.back() != 'E' && report.longitude.back() != 'W') ||
        report.speedKnots < 0 || report.courseDegrees < 0 || report.courseDegrees > 360)
        std::abort();
    NullHost host;
    FakeClock clock;
    CStationSettings settings;
    CStationList stations(settings, clock, host, host);
    stations.ApplySettings(settings, false);
    ApplyNmeaReport(stations, "", report);
    return 0;
}
