// Weather storage: one report replaces the last, descriptions, report dates.
#include <gtest/gtest.h>

#include "stations/weather_description.h"
#include "store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;

TEST(WeatherDescription, NamesSoftwareAndUnit) {
    struct Case {
        const char* comment;
        const char* expected;
    } cases[] = {
        {"", "Unknown"},
        {"wU2KR", "Rem Ult Logger(WinAPRS)"},  // before its prefix U2K
        {"wU2K", "U500/U2000 (WinAPRS)"},
        {"wRSW", "Radio Shack (WinAPRS)"},
        {"wXYZ", "wXYZ"},
        {"wU", "Unknown"},
        {"q", "q"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(WeatherDescription(c.comment), c.expected);
    }
    // Every software letter, in either case, is known.
    for (char letter : std::string("SCDMPUWXscdmpuwx")) {
        SCOPED_TRACE(letter);
        EXPECT_TRUE(WeatherDescription(std::string(1, letter) + "U5").starts_with("Ult 500 ("));
    }
}

TEST(StoreWeather, ASecondReportReplacesTheFirstWhole) {
    StoreFixture f;
    WeatherValues first;
    first.windDirection = 220;
    first.windSpeed = 3;
    first.windGust = 4;
    first.temperature = 250;
    first.humidity = 500;
    first.rainLastHour = 0;
    first.snow[1] = 12;
    f.list.StoreWeather("K1WX", "APRS", "WIDE", "wRSW", first);
    CStation s = f.Get("K1WX");
    EXPECT_TRUE(s.hasWeather);
    EXPECT_TRUE(s.weather.hasWind && s.weather.hasRain && s.weather.hasSnow);
    EXPECT_EQ(s.weather.rainLast24Hours, -1);  // the group is stored whole
    EXPECT_EQ(s.weather.snow[1], 12);
    EXPECT_EQ(s.weather.description, "Radio Shack (WinAPRS)");

    WeatherValues second;
    second.temperature = -15;
    f.list.StoreWeather("K1WX", "APRS", "WIDE", "", second);
    s = f.Get("K1WX");
    EXPECT_FALSE(s.weather.hasWind || s.weather.hasHumidity || s.weather.hasRain);
    EXPECT_EQ(s.weather.windSpeed, -1);
    EXPECT_TRUE(s.weather.hasTemperature);
    EXPECT_EQ(s.weather.temperature, -15);
    EXPECT_EQ(s.weather.description, "Unknown");
    EXPECT_EQ(s.weather.received, f.clock.Now());

    // A wind direction alone stores the wind group.
    WeatherValues third;
    third.windDirection = 90;
    f.list.StoreWeather("K1WX", "", "", "", third);
    const CWeatherReport w = f.Get("K1WX").weather;
    EXPECT_TRUE(w.hasWind && !w.hasTemperature);
    EXPECT_EQ(std::vector<int>({w.windDirection, w.windSpeed, w.windGust}),
              std::vector<int>({90, -1, -1}));
}

TEST(StoreWeather, GivesTheWeatherSymbolOnlyToStationsWithoutOne) {
    StoreFixture f;
    f.list.StoreWeather("K1WX", "", "", "", WeatherValues{});
    EXPECT_EQ(std::string({f.Get("K1WX").symbolTable, f.Get("K1WX").symbolCode}), "/_");
    f.list.UpdatePosition("K1CAR", "/>", "4903.50N", "07201.75W", "", "", -1);
    f.list.StoreWeather("K1CAR", "", "", "", WeatherValues{});
    EXPECT_EQ(f.Get("K1CAR").symbolCode, '>');
}

TEST(StoreWeather, DatesTheReportInTheMostRecentYear) {
    struct Case {
        const char* name;
        CDateTime now;
        int month, day, hour, minute;
        const char* expected;  // empty: no report time
    } cases[] = {
        {"this year", {2026, 8, 1, 12, 0, 0}, 7, 30, 5, 56, "2026-07-30T05:56:00Z"},
        {"31 December on 1 January", {2026, 1, 1, 0, 5, 0}, 12, 31, 23, 0, "2025-12-31T23:00:00Z"},
        {"later today is last year", {2026, 8, 1, 12, 0, 0}, 8, 1, 13, 0, "2025-08-01T13:00:00Z"},
        {"no hour", {2026, 8, 1, 12, 0, 0}, 7, 30, -1, 56, "2026-07-30T00:00:00Z"},
        {"29 February", {2026, 8, 1, 12, 0, 0}, 2, 29, 6, 0, "2024-02-29T06:00:00Z"},
        {"30 February", {2026, 8, 1, 12, 0, 0}, 2, 30, 6, 0, ""},
        {"month 13", {2026, 8, 1, 12, 0, 0}, 13, 1, 6, 0, ""},
        {"no month", {2026, 8, 1, 12, 0, 0}, -1, 1, 6, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreFixture f(c.now);
        WeatherValues v;
        v.month = c.month;
        v.day = c.day;
        v.hour = c.hour;
        v.minute = c.minute;
        f.list.StoreWeather("K1WX", "", "", "", v);
        const CWeatherReport w = f.Get("K1WX").weather;
        EXPECT_EQ(w.hasReportTime, c.expected[0] != '\0');
        if (w.hasReportTime) {
            EXPECT_EQ(w.reportTime.ToIso8601(), c.expected);
        }
    }
}

}  // namespace
}  // namespace plovane
