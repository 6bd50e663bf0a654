// The weather decoders, checked through the records they leave in a real station list.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aprs/decoders.h"
#include "aprs/packet_decoder.h"
#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "intake/packet_intake.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane::aprs {
namespace {

constexpr const char* kCall = "WX1TST";

// One weather decoder on its own, applied to the store as a packet would be.
template <typename Decoder>
void DecodeAlone(CStationList& stations, Decoder&& decode) {
    DecodedPacket packet = plovane::Decode("", stations.clock().Now(), 0, "");
    ReportWriter out(packet, stations.clock().Now(), 0);
    decode(out);
    stations.Apply(packet.reports());
}

void DecodeWeather(CStationList& stations, std::string_view name, std::string_view destination,
                   std::string_view path, std::string_view text, int direction, int speed) {
    DecodeAlone(stations, [&](ReportWriter& out) {
        aprs::DecodeWeather(out, name, destination, path, text, direction, speed);
    });
}

void DecodePeetWeather(CStationList& stations, std::string_view name, std::string_view destination,
                       std::string_view path, std::string_view text) {
    DecodeAlone(stations, [&](ReportWriter& out) {
        aprs::DecodePeetWeather(out, name, destination, path, text);
    });
}

// Expected store contents; -1 (temperature -1000) for a value the report does not carry.
struct Expected {
    int direction = -1, speed = -1, gust = -1;
    int temperature = -1000;
    int humidity = -1, barometer = -1;
    int rainHour = -1, rain24 = -1, rainMidnight = -1;
    int snow = -1, luminosity = -1;
    std::string description = "Unknown";
    std::string time = "";  // "YYYY-MM-DD HH:MM", empty for none
};

class WeatherTest : public ::testing::Test {
  protected:
    std::optional<CStation> Record() const { return stations.FindStation(kCall); }

    void ExpectWeather(const Expected& e) {
        const std::optional<CStation> record = Record();
        ASSERT_TRUE(record.has_value());
        ASSERT_TRUE(record->hasWeather);
        const CWeatherReport& w = record->weather;
        EXPECT_EQ(w.windDirection, e.direction);
        EXPECT_EQ(w.windSpeed, e.speed);
        EXPECT_EQ(w.windGust, e.gust);
        EXPECT_EQ(w.temperature, e.temperature);
        EXPECT_EQ(w.humidity, e.humidity);
        EXPECT_EQ(w.barometer, e.barometer);
        EXPECT_EQ(w.rainLastHour, e.rainHour);
        EXPECT_EQ(w.rainLast24Hours, e.rain24);
        EXPECT_EQ(w.rainSinceMidnight, e.rainMidnight);
        EXPECT_EQ(w.snow[1], e.snow);
        EXPECT_EQ(w.luminosity, e.luminosity);
        EXPECT_EQ(w.description, e.description);
        EXPECT_EQ(Time(w), e.time);
    }

    static std::string Time(const CWeatherReport& w) {
        if (!w.hasReportTime)
            return "";
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", w.reportTime.Year(),
                      w.reportTime.Month(), w.reportTime.Day(), w.reportTime.Hour(),
                      w.reportTime.Minute());
        return text;
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock{CDateTime(2026, 3, 10, 12, 0, 0)};
    testing::RecordingHost host;
    CStationList stations{settings, clock, host, host};
};

TEST_F(WeatherTest, PositionlessReportsConvertEachField) {
    struct Case {
        std::string text;
        Expected expected;
    } cases[] = {
        // mph to knots rounded, Fahrenheit to tenths of C, hundredths of an inch to tenths of
        // a mm, humidity in tenths; a date after "now" belongs to last year.
        {"_10090556c220s004g005t077r000p000P000h50b09900wRSW",
         {.direction = 220,
          .speed = 3,
          .gust = 4,
          .temperature = 250,
          .humidity = 500,
          .barometer = 9900,
          .rainHour = 0,
          .rain24 = 0,
          .rainMidnight = 0,
          .description = "Radio Shack (WinAPRS)",
          .time = "2025-10-09 05:56"}},
        {"_03091200r010p100P999h00b10132",
         {.humidity = 1000,
          .barometer = 10132,
          .rainHour = 25,
          .rain24 = 254,
          .rainMidnight = 2537,
          .time = "2026-03-09 12:00"}},
        // The second "s" is snowfall in inches; "l" luminosity arrives 1000 short.
        {"_03091200c090s010g015t040s002l123",
         {.direction = 90,
          .speed = 9,
          .gust = 13,
          .temperature = 44,
          .snow = 508,
          .luminosity = 1123,
          .time = "2026-03-09 12:00"}},
        // A wind "s" with no value still counts as the wind field.
        {"_03091200s...s003", {.snow = 762, .time = "2026-03-09 12:00"}},
        // A field seen twice ends the fields; the rest is the comment.
        {"_03091200t050t060h50",
         {.temperature = 100, .description = "t060h50", .time = "2026-03-09 12:00"}},
        {"_03091200L500l100",
         {.luminosity = 500, .description = "l100", .time = "2026-03-09 12:00"}},
        // "#", a letter outside the table or any other character ends the fields.
        {"_03091200t050#abc",
         {.temperature = 100, .description = "#abc", .time = "2026-03-09 12:00"}},
        {"_03091200t050 dDvs",
         {.temperature = 100, .description = " dDvs", .time = "2026-03-09 12:00"}},
        // Blank and placeholder fields store nothing and the fields go on.
        {"_03091200c...s   g...t   r...p...P...h..b.....dDvs",
         {.description = "Davis (dosAPRS)", .time = "2026-03-09 12:00"}},
        // A lone "-" is no value, and only a temperature may be negative.
        {"_03091200t-..r-01p010h-5b-1000",
         {.rainHour = -1, .rain24 = 25, .time = "2026-03-09 12:00"}},
        // A field cut short by the end of the text keeps the digits it has.
        {"_03091200t077b10132h5",
         {.temperature = 250, .humidity = 50, .barometer = 10132, .time = "2026-03-09 12:00"}},
        // Time parts are held to their ranges.
        {"_00004499t050........", {.temperature = 100, .time = "2026-01-01 23:59"}},
        {"_13312400t050........", {.temperature = 100, .time = "2025-12-31 23:00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DecodeWeather(stations, kCall, "APRS", "WIDE2-1", c.text, -1, -1);
        ExpectWeather(c.expected);
    }
}

TEST_F(WeatherTest, PositionalFieldsKeepTheHandedInWind) {
    struct Case {
        std::string text;
        int direction, speed;
        Expected expected;
    } cases[] = {
        // Course and speed of the position stand for wind direction and speed, unconverted.
        {"g005t077h00b10150",
         220,
         4,
         {.direction = 220,
          .speed = 4,
          .gust = 4,
          .temperature = 250,
          .humidity = 1000,
          .barometer = 10150}},
        // With the wind speed known, every "s" is snowfall; a "c" is a repeat and ends.
        {"g005s001c180t077",
         220,
         4,
         {.direction = 220, .speed = 4, .gust = 4, .snow = 254, .description = "c180t077"}},
        {"c...s...g...t077", -1, -1, {.temperature = 250}},
        // Integer division first, then the half: -5 F stores -20.4 C, 0 F -17.6 C.
        {"t-05", -1, -1, {.temperature = -204}},
        {"t000", -1, -1, {.temperature = -176}},
        {"t-99", -1, -1, {.temperature = -726}},
        {"", 90, 10, {.direction = 90, .speed = 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DecodeWeather(stations, kCall, "APRS", "WIDE2-1", c.text, c.direction, c.speed);
        ExpectWeather(c.expected);
    }
}

TEST_F(WeatherTest, UnusablePositionlessReportsBecomeInformationText) {
    for (const std::string text : {"_1009055", "_1009055c220s004g005t07",
                                   "_10a90556c220s004g005t077", "_-1090556c220s004g005t077"}) {
        SCOPED_TRACE(text);
        const std::string call = "N" + std::to_string(text.size()) + text.substr(3, 2);
        DecodeWeather(stations, call, "APRS", "WIDE2-1", text, -1, -1);
        const std::optional<CStation> record = stations.FindStation(call);
        ASSERT_TRUE(record.has_value());
        EXPECT_FALSE(record->hasWeather);
        EXPECT_EQ(record->lastInfo, text);
        EXPECT_EQ(record->destination, "APRS");
    }
}

// A record of four-digit hex fields; "" leaves a field out (and ends the record there).
std::string HexRecord(std::string_view start, const std::vector<std::string>& fields) {
    std::string text(start);
    for (const std::string& field : fields)
        text += field;
    return text;
}

TEST_F(WeatherTest, UltimeterRecordsConvertTheirHexFields) {
    // Fields from position 5: peak wind, direction, temperature, long-term rain, pressure,
    // three unused, humidity, day of year, minute of day, today's rain, average wind.
    struct Case {
        std::string text;
        Expected expected;
    } cases[] = {
        {HexRecord("$ULTW", {"01F4", "0080", "02EE", "0064", "27A6", "0000", "0000", "0000", "0258",
                             "003C", "02D0", "0000", "00C8"}),
         {.direction = 180,
          .speed = 10,
          .gust = 26,
          .temperature = 238,
          .humidity = 600,
          .barometer = 10150,
          .rain24 = 254,
          .time = "2026-03-01 12:00"}},
        // Below 0 F the temperature is a two's complement (-2.2 F); -100.0 C moves to
        // -100.1 so it cannot read as "not reported".
        {HexRecord("$ULTW", {"0000", "00FF", "FFEA", "0000", "2800"}),
         {.direction = 360,
          .speed = -1,
          .gust = 0,
          .temperature = -190,
          .barometer = 10240,
          .rain24 = 0}},
        {HexRecord("$ULTW", {"0000", "0000", "FA38"}),
         {.direction = 0, .gust = 0, .temperature = -1001}},
        // A record ending inside a field loses that field; missing time gives no date.
        {HexRecord("$ULTW", {"0010", "0000", "0300", "0001", "27"}),
         {.direction = 0, .gust = 0, .temperature = 248, .rain24 = 3}},
        {HexRecord("$ULTW", {"0010", "0000", "0300", "0001", "27A6", "0000", "0000", "0000", "----",
                             "003C"}),
         {.direction = 0, .gust = 0, .temperature = 248, .barometer = 10150, .rain24 = 3}},
        // A day of the year or minute of the day out of range gives no date.
        {HexRecord("$ULTW", {"0000", "0000", "0300", "0000", "27A6", "0000", "0000", "0000", "0258",
                             "0000", "0000"}),
         {.direction = 0,
          .gust = 0,
          .temperature = 248,
          .humidity = 600,
          .barometer = 10150,
          .rain24 = 0}},
        {HexRecord("$ULTW", {"0000", "0000", "0300", "0000", "27A6", "0000", "0000", "0000", "0258",
                             "0001", "05A0"}),
         {.direction = 0,
          .gust = 0,
          .temperature = 248,
          .humidity = 600,
          .barometer = 10150,
          .rain24 = 0}},
        // "!!" logging records: fields from position 2, wind first, no gust.
        {HexRecord("!!", {"0064", "0040", "0320", "000A", "2742", "0000", "----", "0000", "016D",
                          "0000"}),
         {.direction = 90,
          .speed = 5,
          .temperature = 266,
          .barometer = 10050,
          .rain24 = 25,
          .time = "2025-12-31 00:00"}},
        {"!!0064", {.speed = 5}},
        // U-II records: one hex digit of direction, two of wind, two of temperature + 24 F.
        {"#5103E", {.direction = 112, .speed = 8, .temperature = 30}},
        {"*5103E", {.direction = 112, .speed = 13, .temperature = 30}},
        {"#F00FF", {.direction = 337, .speed = 0, .temperature = 1100}},
        {"#5", {.direction = 112}},
        {"#G103E", {.speed = 8, .temperature = 30}},
        {"*", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DecodePeetWeather(stations, kCall, "APRS", "WIDE2-1", c.text);
        ExpectWeather(c.expected);
    }
}

TEST_F(WeatherTest, UltimeterDatesUseTheClocksYear) {
    // Day 60 is 29 February in a leap year and 1 March otherwise.
    const std::string record = HexRecord("$ULTW", {"0000", "0000", "0300", "0000", "27A6", "0000",
                                                   "0000", "0000", "0258", "003C", "0000"});
    clock.Set(CDateTime(2024, 6, 1, 12, 0, 0));
    DecodePeetWeather(stations, kCall, "APRS", "", record);
    EXPECT_EQ(Time(Record()->weather), "2024-02-29 00:00");
    clock.Set(CDateTime(2025, 6, 1, 12, 0, 0));
    DecodePeetWeather(stations, kCall, "APRS", "", record);
    EXPECT_EQ(Time(Record()->weather), "2025-03-01 00:00");
}

TEST_F(WeatherTest, OtherRecordsBecomeInformationText) {
    int n = 0;
    for (const std::string text : {"$ULTX0000", "!4903.50N/07201.75W_", "", "_10090556"}) {
        SCOPED_TRACE(text);
        const std::string call = "N" + std::to_string(++n);
        DecodePeetWeather(stations, call, "APRS", "WIDE2-1", text);
        const std::optional<CStation> record = stations.FindStation(call);
        ASSERT_TRUE(record.has_value());
        EXPECT_FALSE(record->hasWeather);
        EXPECT_EQ(record->lastInfo, text);
    }
}

}  // namespace
}  // namespace plovane::aprs
