// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/station_info_format.h"

#include <gtest/gtest.h>

#include <string>

#include "core/geo.h"
#include "ui/logic/units.h"

namespace plovane {
namespace {

constexpr int kUnits[] = {kUnitsStatute, kUnitsNautical, kUnitsMetric};

CStation At(const char* latitude, const char* longitude, int ambiguity = 0) {
    CStation s("W5ABC", CDateTime(2026, 1, 5, 12, 0, 0));
    s.hasPosition = true;
    s.position.colatitude = ParseLatitude(latitude);
    s.position.longitude = ParseLongitude(longitude);
    s.position.altitude = -1;
    s.ambiguity = static_cast<int16_t>(ambiguity);
    return s;
}

// Ambiguity blanks digits from the right; blanks both lines start with are removed.
TEST(StationInfoLocation, AmbiguityAndCommonLeadingBlanks) {
    struct Case {
        const char* latitudeText;
        const char* longitudeText;
        int ambiguity;
        const char* latitude;
        const char* longitude;
    } cases[] = {
        {"4903.50N", "12201.75W", 0, "  49\u00B0 03.50' N", "122\u00B0 01.75' W"},
        {"4903.50N", "12201.75W", 2, "  49\u00B0 03.__' N", "122\u00B0 01.__' W"},
        {"4903.50N", "12201.75W", 9, "  49\u00B0 __.__' N", "122\u00B0 __.__' W"},
        {"4903.50N", "07201.75W", 0, "49\u00B0 03.50' N", "72\u00B0 01.75' W"},
        {"4903.50N", "00501.05E", 0, "49\u00B0 03.50' N", "  5\u00B0 01.05' E"},
        {"0530.00S", "00501.05E", 0, "5\u00B0 30.00' S", "5\u00B0 01.05' E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.longitudeText) + " " + std::to_string(c.ambiguity));
        const auto page = FormatGeneralPage(At(c.latitudeText, c.longitudeText, c.ambiguity), 0, 0);
        EXPECT_EQ(page.latitude, c.latitude);
        EXPECT_EQ(page.longitude, c.longitude);
    }
}

TEST(StationInfoGeneral, FieldsInEveryUnitSystem) {
    CStation s = At("4903.50N", "12201.75W");
    s.position.altitude = 30492;  // decimetres
    s.moving = true;
    s.course = 275;
    s.speed = 36;
    s.hasPhg = true;
    s.phgPower = 25;
    s.phgHeight = 20;
    s.phgGain = 3;
    s.phgDirectivity = 0;
    s.hasRange = true;
    s.rangeMiles = 50;
    struct Expected {
        const char* altitude;
        const char* speed;
        const char* powerHeight;
        const char* range;
    } expected[] = {
        {"10003 ft", "41 mph", "25 W/20 ft", "50 mi"},
        {"10003 ft", "36 knots", "25 W/20 ft", "43 nm"},
        {"3049 m", "66 kph", "25 W/6 m", "80 km"},
    };
    for (int units : kUnits) {
        SCOPED_TRACE(units);
        const auto page = FormatGeneralPage(s, units, 0);
        EXPECT_EQ(page.altitude, expected[units].altitude);
        EXPECT_EQ(page.speed, expected[units].speed);
        EXPECT_EQ(page.powerHeight, expected[units].powerHeight);
        EXPECT_EQ(page.range, expected[units].range);
    }
    // Without a given range, the one the PHG values work out to (7.9 miles).
    s.hasRange = false;
    EXPECT_EQ(FormatGeneralPage(s, 0, 0).range, "7 mi");
    s.hasBearing = true;
    s.dfBearing = 270;
    s.dfNrq = 729;
    EXPECT_EQ(FormatGeneralPage(s, 0, 0).dfBearing, "270\u00B0/729");
    s.dfNrq = 5;
    EXPECT_EQ(FormatGeneralPage(s, 0, 0).dfBearing, "270\u00B0/005");
    EXPECT_EQ(FormatGeneralPage(s, 0, 0).gainDirectivity, "3 dB/Omni");
    s.phgDirectivity = 90;
    EXPECT_EQ(FormatGeneralPage(s, 0, 0).gainDirectivity, "3 dB/90\u00B0");
}

TEST(StationInfoGeneral, MissingDataShowsDashes) {
    CStation s("OBJECT1", CDateTime(2026, 1, 5, 12, 0, 0));
    s.hasOwner = true;
    s.owner = "K1ABC";
    const auto page = FormatGeneralPage(s, 0, 0);
    EXPECT_EQ(page.station, "OBJECT1 [K1ABC]");
    for (const std::string* field :
         {&page.stationType, &page.latitude, &page.longitude, &page.altitude, &page.course,
          &page.speed, &page.powerHeight, &page.gainDirectivity, &page.range, &page.dfBearing,
          &page.positTime, &page.actualTime})
        EXPECT_EQ(*field, "-");
    // A position without altitude.
    EXPECT_EQ(FormatGeneralPage(At("4903.50N", "12201.75W"), 0, 0).altitude, "-");
}

TEST(StationInfoGeneral, DatesInLocalTime) {
    CStation s = At("4903.50N", "12201.75W");
    s.hasReportTime = true;
    s.reportTime = CDateTime(2026, 1, 5, 17, 7, 0);  // UTC
    s.heard = true;
    s.lastHeard = CDateTime(2026, 1, 5, 12, 8, 59);  // local
    s.device = "Kenwood TH-D72";
    const auto page = FormatGeneralPage(s, 0, 300);  // five hours west of UTC
    EXPECT_EQ(page.positTime, "2026-Jan-5 12:07");
    EXPECT_EQ(page.actualTime, "2026-Jan-5 12:08");
    EXPECT_EQ(page.stationType, "Kenwood TH-D72");
    EXPECT_EQ(FormatGeneralPage(s, 0, -60).positTime, "2026-Jan-5 18:07");
}

TEST(StationInfoStatus, ReceivedTextShownAsWritten) {
    CStation s("W5ABC");
    s.comment = "<b>x</b>";
    s.lastInfo = ">caf\xE9";
    const auto page = FormatStatusPage(s);
    EXPECT_EQ(page.comments, "<b>x</b>");
    EXPECT_EQ(page.status, ">caf\xC3\xA9");
    EXPECT_EQ(StationInfoTitle(s), "Station Info for W5ABC");
    s.killed = true;  // a killed object's texts are not shown
    EXPECT_EQ(FormatStatusPage(s).comments, "Killed");
    EXPECT_EQ(FormatStatusPage(s).status, "Killed");
}

CWeatherReport FullReport() {
    CWeatherReport w;
    w.hasWind = w.hasTemperature = w.hasHumidity = w.hasBarometer = true;
    w.hasRain = w.hasSnow = w.hasLuminosity = w.hasReportTime = true;
    w.windSpeed = 36;
    w.windDirection = 220;
    w.windGust = 45;
    w.temperature = 215;   // 21.5 C
    w.humidity = 655;      // 65.5 %
    w.barometer = 10132;   // 1013.2 mb
    w.rainLastHour = 254;  // 25.4 mm
    w.rainLast24Hours = 127;
    w.rainSinceMidnight = 50;
    w.snow[1] = 508;
    w.luminosity = 750;  // W/m2
    w.reportTime = CDateTime(2026, 3, 9, 6, 30, 0);
    w.received = CDateTime(2026, 3, 9, 6, 31, 0);
    w.description = "Davis (dosAPRS)";
    return w;
}

TEST(StationInfoWx, FieldsInEveryUnitSystem) {
    struct Expected {
        const char* wind;
        const char* temperature;
        const char* pressure;
        const char* rainHour;
        const char* rain24;
        const char* snow;
    } expected[] = {
        {"41 mph @ 220\u00B0 / 51 mph", "70.7\u00B0F/65.5%", "1013.2 mb", "1.0 in", "0.5 in",
         "2.0 in"},
        {"36 knots @ 220\u00B0 / 45 knots", "70.7\u00B0F/65.5%", "1013.2 mb", "1.0 in", "0.5 in",
         "2.0 in"},
        {"66 kph @ 220\u00B0 / 83 kph", "21.5\u00B0C/65.5%", "101.32 kPas", "25.4 mm", "12.7 mm",
         "50.8 mm"},
    };
    const CWeatherReport w = FullReport();
    for (int units : kUnits) {
        SCOPED_TRACE(units);
        const auto page = FormatWxPage(w, units);
        EXPECT_EQ(page.windGust, expected[units].wind);
        EXPECT_EQ(page.temperatureHumidity, expected[units].temperature);
        EXPECT_EQ(page.pressure, expected[units].pressure);
        EXPECT_EQ(page.rainLastHour, expected[units].rainHour);
        EXPECT_EQ(page.rain, expected[units].rain24);
        EXPECT_EQ(page.snow, expected[units].snow);
    }
    const auto page = FormatWxPage(w, 0);
    EXPECT_EQ(page.luminosity, "750.0 W/m\u00B2");
    EXPECT_EQ(page.xmitTime, "2026-Mar-9 06:30");
    CWeatherReport cold = w;
    cold.temperature = -178;  // -17.8 C
    EXPECT_EQ(FormatWxPage(cold, 0).temperatureHumidity, "-0.0\u00B0F/65.5%");
    EXPECT_EQ(FormatWxPage(CWeatherReport{}, 0).temperatureHumidity, "-/-");
    EXPECT_EQ(page.stationType, "Davis (dosAPRS)");
    CWeatherReport commented = w;
    commented.description = "Cumulus on the hill";  // the report's comment, not a unit
    EXPECT_EQ(FormatWxPage(commented, 0).stationType, "-");
    CWeatherReport calm = w;
    calm.windSpeed = calm.windGust = 0;
    EXPECT_EQ(FormatWxPage(calm, 0).windGust, "0 mph @ 220\u00B0 / 0 mph");
    calm.windGust = -1;  // not reported
    EXPECT_EQ(FormatWxPage(calm, 0).windGust, "0 mph @ 220\u00B0 / -");
}

TEST(StationInfoTelemetry, ShowsNamedScaledValuesAndBitLabels) {
    CTelemetry t;
    t.hasValues = true;
    t.values.sequence = 7;
    t.values.analog = {138, 2, 0, 0, 5};
    t.values.analogPresent = 0b10011;  // channels 1, 2 and 5
    t.values.bits = 0b00000101;        // B1 and B3 set
    t.ApplyDefinition("PARM.Battery,\xd0\xa2\xd0\xb5\xd0\xbc\xd0\xbf,,,,Door,Fan");
    t.ApplyDefinition("UNIT.V,C,,,,OPEN");
    t.ApplyDefinition("EQNS.0,0.1,0,0,1.25,-1");
    t.ApplyDefinition("BITS.01111111,Shack");

    const TelemetryPageText page = FormatTelemetryPage(t);
    EXPECT_EQ(page.project, "Shack");
    EXPECT_EQ(page.sequence, "7");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Battery", "13.8 V"}, {"\xd0\xa2\xd0\xb5\xd0\xbc\xd0\xbf", "1.5 C"},  // a UTF-8 name
        {"A5", "5"},           {"Door", "Off"},  // set, but its sense is 0: on means clear
        {"Fan", "Off"},        {"B3", "On"},
        {"B4", "Off"},         {"B5", "Off"},
        {"B6", "Off"},         {"B7", "Off"},
        {"B8", "Off"},
    };
    ASSERT_EQ(page.rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(page.rows[i].label, expected[i].first);
        EXPECT_EQ(page.rows[i].value, expected[i].second);
    }
    t.values.bits = -1;
    EXPECT_EQ(FormatTelemetryPage(t).rows.size(), 3u) << "no bits sent, no bit rows";
}

}  // namespace
}  // namespace plovane
