// SPDX-License-Identifier: GPL-3.0-or-later
// Position reports: comment altitude, rejected positions, track rules.
#include <gtest/gtest.h>

#include "stations/position_text.h"
#include "stations/station_list.h"
#include "store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;

TEST(UpdatePosition, TakesTheAltitudeOutOfTheCommentOnlyWhenUnknown) {
    struct Case {
        const char* comment;
        int32_t altitudeIn;
        int32_t altitude;
        const char* stored;
    } cases[] = {
        {"/A=001234 hello", -1, 3761, " hello"},  // 1234 ft
        {"/A=001234 hello", 50, 50, "/A=001234 hello"},
        {"/A=12x456 hi", -1, -1, "/A=12x456 hi"},
        {"/A=999999", -1, 3048006, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        StoreFixture f;
        f.list.UpdatePosition("K1AAA", "/>", "4903.50N", "07201.75W", "", c.comment, c.altitudeIn);
        const CStation s = f.Get("K1AAA");
        EXPECT_EQ(s.position.altitude, c.altitude);
        EXPECT_EQ(s.comment, c.stored);
    }
}

// Track settings for other stations, written before the first report.
struct TrackSetup {
    bool time = false;
    int timeIndex = 0, max = 10;
};

void UseTrack(StoreFixture& f, const TrackSetup& t) {
    f.profile.WriteInt("Station", "bTrack", 1);
    f.profile.WriteInt("Station", "bTrackTime", t.time);
    f.profile.WriteInt("Station", "TrackTime", t.timeIndex);
    f.profile.WriteInt("Station", "TrackMax", t.max);
    f.Reload();
}

// With other stations' tracks off only the own station is tracked; without rules every report
// adds a point up to a TrackMax capped at what the setup page offers; by time, reports more
// than the threshold apart.
TEST(Track, TheDistanceAndTimeRulesAndACappedTrackMax) {
    StoreFixture f;
    f.Set("bTrack", 0);
    f.Report("K1AAA", "4900.00N", "07200.00W");
    f.Report("N0CALL", "4900.00N", "07200.00W");
    f.Report("N0CALL", "4910.00N", "07200.00W");  // 11.6 miles: beyond the own 0.5 miles
    EXPECT_TRUE(f.Get("K1AAA").track.empty());
    EXPECT_EQ(f.list.OwnStation().track.size(), 2u);

    UseTrack(f, {.max = 1000000});
    for (int i = 0; i < 300; ++i)
        f.Report("K1AAA", "4903.50N", "07201.75W");
    f.Report("K1AAA", "4920.00N", "07201.75W");
    EXPECT_EQ(f.Get("K1AAA").track.size(), 250u);
    EXPECT_EQ(f.Get("K1AAA").track.front().colatitude, ParseLatitude("4920.00N"));  // newest

    UseTrack(f, {.time = true, .timeIndex = -3});  // below the table: its first entry, 5 s
    const std::pair<const char*, size_t> steps[] = {
        {"120000h", 1}, {"120004h", 1},  // 4 s
        {"120006h", 2},                  // 6 s after the newest point
        {"120011h", 2},                  // exactly 5 s: not more
        {"", 2},                         // no time stamp: never by the time rule
        {"120012h", 3},
    };
    for (const auto& [time, points] : steps) {
        SCOPED_TRACE(time);
        f.Report("K1BBB", "4903.50N", "07201.75W", time);
        EXPECT_EQ(f.Get("K1BBB").track.size(), points);
    }
    EXPECT_EQ(f.Get("K1BBB").trackTime.ToIso8601(), "2026-07-31T12:00:12Z");  // yesterday
}

TEST(TypedPosition, ConvertsDegreesMinutesAndFractions) {
    struct Case {
        const char *degrees, *minutes, *fraction, *hemisphere;
        bool latitude;
        int32_t expected;
    } cases[] = {
        {"49", "3", "50", "N", true, 14739000},
        {"49", "3", "50", "S", true, 50061000},
        {"72", "1", "75", "W", false, 38869500},
        {"72", "1", "75", "E", false, 64800000 + 25930500},
        {"90", "30", "99", "N", true, 0},       // minutes dropped at the pole
        {"95", "0", "0", "S", true, 64800000},  // degrees limited to 90
        {"4x9", "75", "x25", "N", true, 32400000 - (4 * 360000 + 59 * 6000 + 1500)},
        {"", "", "", "", true, 32400000},
        {"99999999999999", "99999999999", "9999999999999999999", "N", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.degrees) + " " + c.minutes + " " + c.fraction + c.hemisphere);
        const int32_t value =
            c.latitude ? ColatitudeFromText(c.degrees, c.minutes, c.fraction, c.hemisphere)
                       : LongitudeFromText(c.degrees, c.minutes, c.fraction, c.hemisphere);
        EXPECT_EQ(value, c.expected);
    }
}

}  // namespace
}  // namespace plovane
