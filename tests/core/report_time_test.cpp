// Report time stamps read against a clock, over the whole calendar.
#include <gtest/gtest.h>

#include <string>

#include "core/report_time.h"

namespace plovane {
namespace {

// "Today" is worked out without CDateTime's part accessors; it must agree with them on every
// day, in leap and common years and across the century rules.
TEST(ParseReportTime, TodayAgreesWithTheCalendarOnEveryDay) {
    const CDateTime first(1900, 1, 1, 0, 0, 0);
    const CDateTime last(2401, 1, 1, 0, 0, 0);
    for (double value = first.value(); value < last.value(); value += 1.0) {
        // Late in the day, and a hair before midnight (which rounds into the next day).
        for (const double time : {0.75, 1.0 - 0.4 / 86400.0}) {
            const CDateTime now(value + time);
            CDateTime utc;
            ASSERT_TRUE(ParseReportTime("000003h", now, 0, utc)) << now.ToIso8601();
            ASSERT_EQ(utc.ToIso8601(), now.ToIso8601().substr(0, 11) + "00:00:03Z");
        }
    }
}

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
// before; a little ahead is a clock running fast.
TEST(ParseReportTime, StampsAheadOfNowBelongToTheDayOrMonthBefore) {
    struct Case {
        const char* text;
        CDateTime localNow;
        int bias;
        CDateTime expected;
    };
    const Case cases[] = {
        {"235959h", {2026, 3, 1, 0, 5, 0}, 0, {2026, 2, 28, 23, 59, 59}},
        {"235959h", {2026, 3, 1, 1, 5, 0}, -60, {2026, 2, 28, 23, 59, 59}},  // UTC+1
        {"000800h", {2026, 3, 1, 0, 5, 0}, 0, {2026, 3, 1, 0, 8, 0}},
        {"102300z", {2026, 3, 10, 12, 0, 0}, 0, {2026, 2, 10, 23, 0, 0}},
        {"101203z", {2026, 3, 10, 12, 0, 0}, 0, {2026, 3, 10, 12, 3, 0}},
        {"152300z", {2026, 1, 10, 12, 0, 0}, 0, {2025, 12, 15, 23, 0, 0}},
        {"092300z", {2026, 1, 10, 12, 0, 0}, 0, {2026, 1, 9, 23, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + c.localNow.ToIso8601());
        CDateTime utc;
        ASSERT_TRUE(ParseReportTime(c.text, c.localNow, c.bias, utc));
        EXPECT_EQ(utc.ToIso8601(), c.expected.ToIso8601());
    }
}

}  // namespace
}  // namespace plovane
