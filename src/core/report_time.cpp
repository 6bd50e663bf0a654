// SPDX-License-Identifier: GPL-3.0-or-later
// Report time stamps.
#include "core/report_time.h"

#include <algorithm>
#include <cstdint>

#include "core/latin1.h"

namespace plovane {
namespace {

bool TwoDigits(std::string_view text, size_t at, int& value) {
    const auto a = static_cast<unsigned char>(text[at]);
    const auto b = static_cast<unsigned char>(text[at + 1]);
    if (!latin1::IsDigit(a) || !latin1::IsDigit(b))
        return false;
    value = (a - '0') * 10 + (b - '0');
    return true;
}

struct Date {
    int year, month, day;
    int secondOfDay;  // 0..86399
};

// The calendar date of a valid value, as CDateTime's parts would give it (rounded to the
// nearest second), but in a few integer steps: this runs for every time-stamped report.
Date DateOf(const CDateTime& when) {
    constexpr double kHalfSecond = 0.5 / 86400.0;
    const double rounded = when.value() + kHalfSecond;
    if (rounded < 0.0)
        return {when.Year(), when.Month(), when.Day(),
                when.Hour() * 3600 + when.Minute() * 60 + when.Second()};
    // Days since 1 March of year 0 (the civil-from-days method: years start in March so
    // that the leap day comes last).
    const int64_t z = static_cast<int64_t>(rounded) - 25569 + 719468;
    const int64_t era = z / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month =
        static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    const int secondOfDay = std::min(
        static_cast<int>((rounded - static_cast<double>(static_cast<int64_t>(rounded))) * 86400.0),
        86399);
    return {year, month, day, secondOfDay};
}

// A stamp later than now by more than this is taken as one of the day (for "h") or month
// (for "z") before: clocks disagree by a little, never by hours.
constexpr int kFutureToleranceSeconds = 5 * 60;
const CDateTimeSpan kFutureTolerance(0, 0, 0, kFutureToleranceSeconds);

// Day `day` at hh:mm of the month of `today`, or of the month before when `day` is later
// than today's day or `previous` is set.
CDateTime DayOfRecentMonth(const Date& today, int day, int hour, int minute,
                           bool previous = false) {
    int year = today.year;
    int month = today.month;
    if (previous || day > today.day) {
        if (--month < 1) {
            month = 12;
            --year;
        }
    }
    if (day < 1 || day > 31)
        return CDateTime(0.0, CDateTime::kInvalid);
    return CDateTime(year, month, std::min(day, DaysInMonth(year, month)), hour, minute, 0);
}

}  // namespace

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool ParseReportTime(std::string_view text, const CDateTime& localNow, int biasMinutes,
                     CDateTime& utc) {
    if (text.size() != 7 || !localNow.IsValid())
        return false;
    int first = 0;
    int second = 0;
    int third = 0;
    if (!TwoDigits(text, 0, first) || !TwoDigits(text, 2, second) || !TwoDigits(text, 4, third)) {
        return false;
    }
    const CDateTimeSpan bias(0, 0, biasMinutes, 0);
    const CDateTime utcNow = localNow + bias;
    if (!utcNow.IsValid())
        return false;
    CDateTime result;
    switch (text[6]) {
        case 'z': {  // e.g. 092345z: the 9th, 23:45 UTC
            const Date today = DateOf(utcNow);
            // Only a stamp of today's day can lie ahead: other days are earlier this month
            // or fall in the month before.
            const bool ahead =
                first == today.day &&
                second * 3600 + third * 60 > today.secondOfDay + kFutureToleranceSeconds;
            result = DayOfRecentMonth(today, first, second, third, ahead);
            break;
        }
        case '/':  // e.g. 092345/: the 9th, 23:45 local time
            result = DayOfRecentMonth(DateOf(localNow), first, second, third);
            if (result.IsValid())
                result += bias;
            break;
        case 'h': {  // e.g. 234517h: 23:45:17 UTC today
            const Date today = DateOf(utcNow);
            result = CDateTime(today.year, today.month, today.day, first, second, third);
            // e.g. 235959h heard at 00:05 was sent yesterday
            if (result.IsValid() && result > utcNow + kFutureTolerance)
                result -= CDateTimeSpan(1, 0, 0, 0);
            break;
        }
        default:  // e.g. 1009234: 9 October, 23:00 UTC (the last character is not used)
            result = CDateTime(DateOf(utcNow).year, first, second, third, 0, 0);
            break;
    }
    if (!result.IsValid())
        return false;
    utc = result;
    return true;
}

bool WeatherReportTime(const WeatherValues& values, const CDateTime& now, CDateTime& time) {
    if (values.month < 0 || values.day < 0)
        return false;
    if (values.month < 1 || values.month > 12 || values.day < 1 ||
        values.day > DaysInMonth(2000, values.month)) {
        return false;
    }
    const bool timeKnown =
        values.hour >= 0 && values.hour <= 23 && values.minute >= 0 && values.minute <= 59;
    const int hour = timeKnown ? values.hour : 0;
    const int minute = timeKnown ? values.minute : 0;
    // Eight years back always reach a leap year, even across 2100.
    for (int year = now.Year(), tries = 0; tries < 9 && year > 0; --year, ++tries) {
        const CDateTime candidate(year, values.month, values.day, hour, minute, 0);
        if (candidate.IsValid() && candidate <= now) {
            time = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace plovane
