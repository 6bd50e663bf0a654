// SPDX-License-Identifier: GPL-3.0-or-later
// NMEA sentences: any line parses without harm, a parsed sentence gives well-formed
// position texts, and applying it to a station store is safe.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/null_host.h"
#include "comm/gps_port.h"
#include "comm/nmea_parser.h"
#include "core/clock.h"
#include "core/profile.h"
#include "stations/station_list.h"

namespace {

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plovane;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string cleaned = CleanNmeaLine(line);
    NmeaReport report;
    if (ParseNmeaSentence(cleaned, report)) {
        if (!NmeaChecksumOk(cleaned))
            std::abort();
        const char ns = report.latitude.back();
        const char ew = report.longitude.back();
        if ((ns != 'N' && ns != 'S') || (ew != 'E' && ew != 'W'))
            std::abort();
        if (report.latitude.size() < 8 || report.longitude.size() < 9)
            std::abort();
    }

    plovane::NullHost host;
    MemoryProfile profile;
    FakeClock clock;
    CStationSettings settings;
    CStationList stations(settings, clock, host, host);
    settings.Load(profile);
    stations.ApplySettings(settings, false);
    ApplySentence(stations, "", "", "", line, true);
    ApplySentence(stations, "N0CALL", "APRS", "WIDE1-1", line, false);
    return 0;
}
