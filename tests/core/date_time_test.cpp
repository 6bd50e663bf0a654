#include "core/date_time.h"

#include <gtest/gtest.h>

#include <array>
#include <ctime>
#include <string>

#include "core/clock.h"
#include "support/scoped_env.h"

namespace plovane {
namespace {

std::array<int, 6> Parts(const CDateTime& t) {
    return {t.Year(), t.Month(), t.Day(), t.Hour(), t.Minute(), t.Second()};
}

// Building from parts, and the parts, weekday and day of year read back.
TEST(DateTime, PartsRoundTripAcrossTheCalendar) {
    struct Case {
        int y, mo, d, h, mi, s;
        double value;  // 0: not checked
        bool valid;
        int dow, doy;
    } cases[] = {
        {1899, 12, 31, 12, 0, 0, 1.5, true, 1, 365},
        {1899, 12, 29, 6, 0, 0, -1.25, true, 6, 363},  // negative days, fraction forward
        {2000, 2, 29, 12, 34, 56, 0, true, 3, 60},
        {1900, 3, 1, 23, 59, 59, 0, true, 5, 60},
        {2000, 12, 31, 1, 2, 3, 0, true, 1, 366},
        {100, 1, 1, 0, 0, 0, CDateTime::kMinValue, true, 6, 1},
        {9999, 12, 31, 0, 0, 0, CDateTime::kMaxValue, true, 6, 365},
        {1700, 3, 1, 0, 0, 0, 0, true, 2, 60},
        {1900, 2, 29, 0, 0, 0, 0, false, 0, 0},
        {2026, 13, 1, 0, 0, 0, 0, false, 0, 0},
        {2026, 4, 31, 0, 0, 0, 0, false, 0, 0},
        {2026, 1, 1, 24, 0, 0, 0, false, 0, 0},
        {10000, 1, 1, 0, 0, 0, 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y << "-" << c.mo << "-" << c.d);
        const CDateTime t(c.y, c.mo, c.d, c.h, c.mi, c.s);
        ASSERT_EQ(t.IsValid(), c.valid);
        if (!c.valid)
            continue;
        if (c.value != 0) {
            EXPECT_DOUBLE_EQ(t.value(), c.value);
        }
        EXPECT_EQ(Parts(t), (std::array{c.y, c.mo, c.d, c.h, c.mi, c.s}));
        EXPECT_EQ(t.DayOfWeek(), c.dow);
        EXPECT_EQ(t.DayOfYear(), c.doy);
    }
}

TEST(DateTime, PartsRoundToTheSecondAndAreMinusOneOutOfRange) {
    constexpr double kSecond = 1.0 / 86400.0;
    EXPECT_EQ(Parts(CDateTime(2.0 - 0.4 * kSecond)), (std::array{1900, 1, 1, 0, 0, 0}));
    EXPECT_EQ(Parts(CDateTime(2.0 - 0.6 * kSecond)), (std::array{1899, 12, 31, 23, 59, 59}));
    EXPECT_EQ(CDateTime(2026, 12, 6, 6, 49, 32).ToIso8601(), "2026-12-06T06:49:32Z");
    // The last second of 9999 builds from its parts but lies past the last valid value.
    for (const CDateTime& t :
         {CDateTime(2958466.0), CDateTime(-657435.0), CDateTime(9999, 12, 31, 23, 59, 59),
          CDateTime(100.0, CDateTime::kInvalid), CDateTime(100.0, CDateTime::kNull)}) {
        EXPECT_EQ(Parts(t), (std::array{-1, -1, -1, -1, -1, -1}));
        EXPECT_EQ(t.ToIso8601(), "");
    }
}

// -1.25 is 29 December 1899 06:00 and -1.75 the same day at 18:00.
TEST(DateTime, ArithmeticAndComparisonRunOnTheLinearScale) {
    const CDateTime before1900(-1.25);
    EXPECT_DOUBLE_EQ((before1900 + CDateTimeSpan(1.0)).value(), 0.25);
    EXPECT_DOUBLE_EQ((before1900 - CDateTimeSpan(1.0)).value(), -2.25);
    EXPECT_DOUBLE_EQ((CDateTime(0.25) - before1900).value(), 1.0);
    EXPECT_DOUBLE_EQ((CDateTime(-2.75) - CDateTime(-1.25)).value(), -0.5);
    EXPECT_TRUE(CDateTime(-1.25) < CDateTime(-1.75) && CDateTime(-1.75) < CDateTime(0.0));
    EXPECT_TRUE(CDateTime(1.0) >= CDateTime(1.0) && CDateTime(1.0) <= CDateTime(1.0));
    EXPECT_FALSE(CDateTime(1.0) > CDateTime(1.0));
    EXPECT_NE(CDateTime(1.0), CDateTime(1.0, CDateTime::kInvalid));

    CDateTime t(2026, 12, 6, 23, 0, 0);
    t += CDateTimeSpan(0, 2, 0, 0);
    EXPECT_EQ(t.ToIso8601(), "2026-12-07T01:00:00Z");
    t -= CDateTimeSpan(0, 0, 90, 0);
    EXPECT_EQ(t.ToIso8601(), "2026-12-06T23:30:00Z");
    EXPECT_DOUBLE_EQ(CDateTimeSpan(1, 12, 0, 0).value(), 1.5);
    EXPECT_EQ(CDateTimeSpan(0, 1, 30, 15).TotalSeconds(), 5415);
    EXPECT_EQ(CDateTimeSpan(0, 0, -2, 0).TotalSeconds(), -119);  // truncated toward zero
}

TEST(DateTime, ResultsOutsideTheRangeAreInvalidAndNullWinsOverInvalid) {
    const CDateTime last(CDateTime::kMaxValue);
    EXPECT_EQ((last + CDateTimeSpan(1.0)).status(), CDateTime::kInvalid);
    EXPECT_EQ((CDateTime(CDateTime::kMinValue) - CDateTimeSpan(1.0)).status(), CDateTime::kInvalid);
    EXPECT_TRUE((last - CDateTimeSpan(1.0)).IsValid());

    const CDateTime valid(100.0);
    const CDateTime invalid(100.0, CDateTime::kInvalid);
    const CDateTime null(100.0, CDateTime::kNull);
    EXPECT_EQ((null + CDateTimeSpan(1.0)).status(), CDateTime::kNull);
    EXPECT_EQ((invalid + CDateTimeSpan(1.0)).status(), CDateTime::kInvalid);
    EXPECT_EQ((valid + CDateTimeSpan(1.0, CDateTime::kNull)).status(), CDateTime::kNull);
    EXPECT_EQ((invalid - null).status(), CDateTime::kNull);
    EXPECT_EQ((valid - invalid).status(), CDateTime::kInvalid);
}

TEST(Clock, UtcAddsTheBias) {
    FakeClock clock(CDateTime(2026, 7, 1, 10, 0, 0), 300);  // UTC-5 standard time
    EXPECT_EQ(clock.UtcNow().Hour(), 15);
    clock.SetBias(-60);
    EXPECT_EQ(clock.UtcNow().Hour(), 9);
    clock.AdvanceMs(1500);
    clock.AdvanceMs(600);
    EXPECT_EQ(clock.Now().Second(), 2);
    EXPECT_EQ(clock.TickMs(), 2100);

    SystemClock system;
    EXPECT_GE(system.Now().Year(), 2024);
    EXPECT_GE(system.BiasMinutes(), -14 * 60);
    EXPECT_LE(system.BiasMinutes(), 12 * 60);
}

// The bias is the zone's offset at that instant, daylight saving included; an unknown zone
// is UTC.
TEST(Clock, BiasFollowsDaylightSavingTime) {
    constexpr std::time_t kJanuary = 1768478400;  // 2026-01-15 12:00 UTC
    constexpr std::time_t kJuly = 1782907200;     // 2026-07-01 12:00 UTC
    struct Case {
        const char* zone;
        int january, july;
    } cases[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", -60, -120},
        {"EST5EDT,M3.2.0,M11.1.0", 300, 240},
        {"Nowhere/Atlantis", 0, 0},
    };
    {
        ScopedEnv zone("TZ", nullptr);  // puts the zone back
        for (const Case& c : cases) {
            SCOPED_TRACE(c.zone);
            ::setenv("TZ", c.zone, 1);
            ::tzset();
            EXPECT_EQ(BiasMinutesAt(kJanuary), c.january);
            EXPECT_EQ(BiasMinutesAt(kJuly), c.july);
        }
    }
    ::tzset();
}

}  // namespace
}  // namespace plovane
