// The data extensions after the symbol code: PHG, DFS, course/speed, weather and storm
// symbols, and the comment.
#include <string>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

struct Phg {
    int power, height, gain, directivity;
    bool operator==(const Phg&) const = default;
};

Phg PhgOf(const CStation& s) {
    return {s.phgPower, s.phgHeight, s.phgGain, s.phgDirectivity};
}
Phg DfsOf(const CStation& s) {
    return {s.dfsStrength, s.dfsHeight, s.dfsGain, s.dfsDirectivity};
}

TEST_F(DecoderTest, PhgAndDfsExtensions) {
    struct Case {
        const char* tail;
        bool hasPhg;
        bool hasDfs;
        Phg values;
        const char* comment;
    };
    const Case cases[] = {
        {"PHG5132/Home", true, false, {25, 20, 3, 90}, "/Home"},
        {"PHG5:32", true, false, {25, 10240, 3, 90}, ""},
        {"PHG5139", true, false, {25, 20, 3, 360}, ""},  // 405 degrees held at 360
        {"PHG9900", true, false, {81, 5120, 0, 0}, ""},
        // Heights beyond the 16-bit field are held at 32767 feet, even for 0xFF.
        {"PHG5<32", true, false, {25, 32767, 3, 90}, ""},
        {"PHG5\xff"
         "32",
         true,
         false,
         {25, 32767, 3, 90},
         ""},
        {"PHG5x32", true, false, {25, 32767, 3, 90}, ""},
        {"PHG5/32", false, false, {}, "PHG5/32"},  // height below "0"
        {"PHGx132", false, false, {}, "PHGx132"},
        {"PHG513", false, false, {}, "PHG513"},  // too short to be an extension
        {"phg5132", false, false, {}, "phg5132"},
        {"DFS2360", false, true, {2, 80, 6, 0}, ""},
        {"DFS9999 dir", false, true, {9, 5120, 9, 360}, " dir"},
        {"DFS2:60", false, false, {}, "DFS2:60"},  // DFS takes digits only
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tail);
        const std::string call = "X" + std::to_string(++n);
        Decode(call + ">APRS:!4903.50N/07201.75W#" + c.tail);
        const CStation s = Station(call);
        EXPECT_TRUE(s.hasPosition);
        EXPECT_EQ(s.hasPhg, c.hasPhg);
        EXPECT_EQ(s.hasDfs, c.hasDfs);
        if (c.hasPhg) {
            EXPECT_EQ(PhgOf(s), c.values);
        }
        if (c.hasDfs) {
            EXPECT_EQ(DfsOf(s), c.values);
        }
        EXPECT_EQ(s.comment, c.comment);
        EXPECT_FALSE(s.moving);
    }
}

TEST_F(DecoderTest, CourseSpeedWeatherAndStorm) {
    struct Case {
        const char* symbol;
        const char* tail;
        bool moving;
        int course, speed;
        bool hasWeather;
        const char* comment;
    };
    const Case cases[] = {
        {"/>", "088/036Moving", true, 88, 36, false, "Moving"},
        {"/>", "000/000", true, 0, 0, false, ""},
        {"/>", "360/999 fast", true, 360, 999, false, " fast"},
        {"/>", "088/36 Moving", false, 0, 0, false, "088/36 Moving"},
        {"/>", "088-036", false, 0, 0, false, "088-036"},
        // Weather symbol: "ccc/sss" is the wind, and the weather fields follow.
        {"/_", "220/004g005t077r000p000P000h50b09900", false, 0, 0, true, ""},
        {"/_", "220/004t077", false, 0, 0, true, ""},
        // Without a wind sensor the wind group is blank, or the fields start at once.
        {"/_", ".../...g005t077", false, 0, 0, true, ""},
        {"/_", "   /   t077h50", false, 0, 0, true, ""},
        {"/_", "g005t077r000", false, 0, 0, true, ""},
        {"/_", ".../...no fields", false, 0, 0, false, ".../...no fields"},
        {"/>", ".../...g005t077", false, 0, 0, false, ".../...g005t077"},
        {"/_", "220/004 no fields", true, 220, 4, false, " no fields"},
        // Storm symbol: the course and speed belong to the storm.
        {"/@", "088/036/TS...", false, 0, 0, false, "/TS..."},
        {"/@", "088/036 no storm", true, 88, 36, false, " no storm"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.symbol) + c.tail);
        const std::string call = "Y" + std::to_string(++n);
        Decode(call + ">APRS:!4903.50N" + c.symbol[0] + "07201.75W" + c.symbol[1] + c.tail);
        const CStation s = Station(call);
        EXPECT_TRUE(s.hasPosition);
        EXPECT_EQ(s.moving, c.moving);
        if (c.moving) {
            EXPECT_EQ(s.course, c.course);
            EXPECT_EQ(s.speed, c.speed);
        }
        EXPECT_EQ(s.hasWeather, c.hasWeather);
        EXPECT_EQ(s.comment, c.comment);
        EXPECT_EQ(SymbolOf(s), c.symbol);
    }
}

TEST_F(DecoderTest, PositionalWeatherTakesTheWindFromCourseAndSpeed) {
    Decode("N0CALL>APRS:@092345z4903.50N/07201.75W_220/004g005t077r000p000P000h50b09900wRSW");
    const CStation s = Station("N0CALL");
    EXPECT_TRUE(s.hasWeather);
    EXPECT_EQ(s.weather.windDirection, 220);
    EXPECT_EQ(s.weather.windSpeed, 4);
    EXPECT_EQ(s.weather.temperature, 250);
    EXPECT_EQ(s.comment, "");

    // No wind sensor: the weather is kept with the wind group not reported.
    Decode("N2CALL>APRS:!4903.50N/07201.75W_.../...g005t077h50");
    const CStation w = Station("N2CALL");
    EXPECT_TRUE(w.hasWeather);
    EXPECT_FALSE(w.weather.hasWind && w.weather.windDirection >= 0);
    EXPECT_EQ(w.weather.windDirection, -1);
    EXPECT_EQ(w.weather.temperature, 250);
    EXPECT_EQ(w.weather.humidity, 500);

    // A compressed weather station hands its course and speed bytes the same way.
    Decode("N1CALL>APRS:!/5L!!<*e7_7P[g005t077");
    const CStation c = Station("N1CALL");
    EXPECT_TRUE(c.hasWeather);
    EXPECT_EQ(c.weather.windDirection, 88);
    EXPECT_EQ(c.weather.windSpeed, 36);
    EXPECT_FALSE(c.moving);
}

TEST_F(DecoderTest, AltitudeAtTheStartOfTheComment) {
    Decode("N0CALL>APRS:!4903.50N/07201.75W-/A=001234 hi");
    CStation s = Station("N0CALL");
    EXPECT_EQ(s.position.altitude, 3761);
    EXPECT_EQ(s.comment, " hi");

    // After course and speed the altitude still leads the comment.
    Decode("N1CALL>APRS:!4903.50N/07201.75W>088/036/A=001234");
    s = Station("N1CALL");
    EXPECT_EQ(s.position.altitude, 3761);
    EXPECT_EQ(s.comment, "");

    // Elsewhere in the comment it is text.
    Decode("N2CALL>APRS:!4903.50N/07201.75W-hi /A=001234");
    s = Station("N2CALL");
    EXPECT_EQ(s.position.altitude, -1);
    EXPECT_EQ(s.comment, "hi /A=001234");
}

}  // namespace
}  // namespace plovane::testing
