// SPDX-License-Identifier: GPL-3.0-or-later
// Exports: GPX and KML tracks validate against their schemas with xmllint; weather and
// telemetry CSV carry the stored values in ordinary units.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "core/geo.h"
#include "history/history_export.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

PositionSample Point(int64_t utc, double lat, double lon, int32_t altitudeDm = -1,
                     int32_t course = -1, int32_t speed = -1) {
    PositionSample p;
    p.utc = utc;
    p.colatitude = static_cast<int32_t>(std::lround((90.0 - lat) * kUnitsPerDegree));
    p.longitude = static_cast<int32_t>(std::lround((lon + 180.0) * kUnitsPerDegree));
    p.altitudeDm = altitudeDm;
    p.courseDegrees = course;
    p.speedKnots = speed;
    return p;
}

TEST(HistoryExport, GpxAndKmlTracksValidateAgainstTheirSchemas) {
    testing::ScratchDir dir;
    const std::vector<PositionSample> track{
        Point(1796565501, 41.714775, -72.7275, 1234, 90, 12),
        Point(1796565561, -33.9, 180.0),  // the date line from the east: GPX wants -180
        Point(1796565621, 90.0, -180.0, 0),
    };
    struct Case {
        const char* name;
        std::string call;
        std::vector<PositionSample> points;
    };
    const Case cases[] = {
        {"track", "W1AW-9", track},
        {"markup in the name", "A&B<1>\"x\"\x01\xe9", track},
        {"one point", "W1AW", {track[0]}},
        {"empty", "W1AW", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [file, schema, text] :
             {std::tuple{"t.gpx", "gpx.xsd", TrackGpx(c.call, c.points)},
              std::tuple{"t.kml", "kml22-reduced.xsd", TrackKml(c.call, c.points)}}) {
            std::ofstream(dir / file) << text;
            const std::string command = "xmllint --noout --schema " +
                                        std::string(PLOVANE_TEST_DATA_DIR) + "/xsd/" + schema +
                                        " " + (dir / file) + " 2>" + (dir / "err");
            EXPECT_EQ(std::system(command.c_str()), 0) << text;
        }
    }
    const std::string gpx = TrackGpx("W1AW-9", track);
    EXPECT_NE(gpx.find("<trkpt lat=\"41.714775\" lon=\"-72.727500\"><ele>123.4</ele>"
                       "<time>2026-12-06T13:58:21Z</time><desc>course 90 deg, speed 12 kn</desc>"),
              std::string::npos);
    EXPECT_NE(gpx.find("lat=\"-33.900000\" lon=\"-180.000000\""), std::string::npos);
    const std::string kml = TrackKml("W1AW-9", track);
    EXPECT_NE(kml.find("<coordinates>-72.727500,41.714775,123.4 -180.000000,-33.900000 "),
              std::string::npos);
}

TEST(HistoryExport, CsvCarriesWeatherAndScaledTelemetry) {
    WeatherSample w;
    w.utc = 1796565501;
    w.values.windDirection = 234;
    w.values.windSpeed = 2;
    w.values.windGust = 5;
    w.values.temperature = -94;  // -9.4 C
    w.values.humidity = 850;
    w.values.barometer = 10132;
    w.values.rainLastHour = 3;
    EXPECT_EQ(WeatherCsv({&w, 1}).substr(WeatherCsv({}).size()),
              "2026-12-06T13:58:21Z,234,2,5,-9.4,85.0,1013.2,0.3,,,,\n");

    CTelemetry definitions;
    ASSERT_TRUE(definitions.ApplyDefinition("PARM.Battery,Temp,,,,Door"));
    ASSERT_TRUE(definitions.ApplyDefinition("UNIT.V,C"));
    ASSERT_TRUE(definitions.ApplyDefinition("EQNS.0,0.1,0,0,1,-40"));
    TelemetrySample t;
    t.utc = 1796565501;
    t.values.sequence = 7;
    t.values.analog = {125, 60, 0, 0, 0};
    t.values.analogPresent = 0b00011;
    t.values.bits = 0b00000001;
    EXPECT_EQ(TelemetryCsv(definitions, {&t, 1}),
              "time,sequence,Battery (V),Temp (C),A3,A4,A5,Door,D2,D3,D4,D5,D6,D7,D8\n"
              "2026-12-06T13:58:21Z,7,12.500,20.000,,,,1,0,0,0,0,0,0,0\n");
}

}  // namespace
}  // namespace plovane
