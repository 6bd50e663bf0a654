// SPDX-License-Identifier: GPL-3.0-or-later
// Report time stamps read against a clock, over the whole calendar.
#include <gtest/gtest.h>

#include <string>

#include "core/report_time.h"
#include "core/station_report.h"

namespace plovane {
namespace {

TEST(ParseReportTime, RejectsTextsThatAreNoTime) {
    const CDateTime now(2026, 8, 1, 0, 5, 0);
    const CDateTime untouched(123.0);
    for (const char* text : {"", "12345z", "1234567z", "-12345z", "12 345z", "99999 z"}) {
        SCOPED_TRACE(text);
        CDateTime utc = untouched;
        EXPECT_FALSE(ParseReportTime(text, now, 0, utc));
        EXPECT_EQ(utc, untouched);
    }
    CDateTime utc;
    EXPECT_FALSE(ParseReportTime("011200z", CDateTime(0.0, CDateTime::kInvalid), 0, utc));
    EXPECT_FALSE(ParseReportTime("011200z", CDateTime(CDateTime::kMaxValue), 24 * 60, utc));
}

// A stamp ahead of now by more than a few minutes was sent the day ("h") or the month ("z")
// before; a little ahead is a clock running fast. "/" is local time, seven digits month,
// day and hour.
TEST(ParseReportTime, StampsAheadOfNowBelongToTheDayOrMonthBefore) {
    const CDateTime aug1(2026, 8, 1, 0, 5, 0);
    struct Case {
        const char* text;
        CDateTime localNow;
        int bias;  // minutes, UTC = local + bias
        const char* expected;
    } cases[] = {
        {"235959h", {2026, 3, 1, 1, 5, 0}, -60, "2026-02-28T23:59:59Z"},  // UTC+1
        {"000800h", {2026, 3, 1, 0, 5, 0}, 0, "2026-03-01T00:08:00Z"},
        {"101203z", {2026, 3, 10, 12, 0, 0}, 0, "2026-03-10T12:03:00Z"},
        {"003000h", {2026, 8, 1, 23, 0, 0}, 120, "2026-08-02T00:30:00Z"},
        {"102300z", {2026, 3, 10, 12, 0, 0}, 0, "2026-02-10T23:00:00Z"},
        {"152300z", {2026, 1, 10, 12, 0, 0}, 0, "2025-12-15T23:00:00Z"},
        {"311200z", aug1, -120, "2026-07-31T12:00:00Z"},                // day of the UTC month
        {"311000z", {2026, 7, 5, 0, 0, 0}, 0, "2026-06-30T10:00:00Z"},  // beyond the month
        {"010003/", aug1, -120, "2026-07-31T22:03:00Z"},
        {"0731125", aug1, 0, "2026-07-31T12:00:00Z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + c.localNow.ToIso8601());
        CDateTime utc;
        ASSERT_TRUE(ParseReportTime(c.text, c.localNow, c.bias, utc));
        EXPECT_EQ(utc.ToIso8601(), c.expected);
    }
    CDateTime utc;
    EXPECT_FALSE(ParseReportTime("012400z", aug1, 0, utc));
    EXPECT_FALSE(ParseReportTime("1301005", aug1, 0, utc));
}

TEST(WeatherReportTime, DatesTheReportInTheMostRecentYear) {
    const CDateTime summer(2026, 8, 1, 12, 0, 0);
    struct Case {
        CDateTime now;
        int month, day, hour;
        const char* expected;  // empty: no report time
    } cases[] = {
        {summer, 7, 30, 5, "2026-07-30T05:56:00Z"},
        {{2026, 1, 1, 0, 5, 0}, 12, 31, 23, "2025-12-31T23:56:00Z"},
        {summer, 8, 1, 13, "2025-08-01T13:56:00Z"},  // later today is last year
        {summer, 7, 30, -1, "2026-07-30T00:00:00Z"},
        {summer, 2, 29, 6, "2024-02-29T06:56:00Z"},
        {summer, 2, 30, 6, ""},
        {summer, 13, 1, 6, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.month << "-" << c.day << " " << c.hour);
        WeatherValues v;
        v.month = c.month;
        v.day = c.day;
        v.hour = c.hour;
        v.minute = 56;
        CDateTime time;
        EXPECT_EQ(WeatherReportTime(v, c.now, time) ? time.ToIso8601() : "", c.expected);
    }
}

}  // namespace
}  // namespace plovane
