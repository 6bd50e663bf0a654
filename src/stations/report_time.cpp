// Report time stamps.
#include "stations/report_time.h"

#include <algorithm>

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

// Day `day` at hh:mm of the month of `today`, or of the month before when `day` is later
// than today's day.
CDateTime DayOfRecentMonth(const CDateTime& today, int day, int hour, int minute) {
    int year = today.Year();
    int month = today.Month();
    if (day > today.Day()) {
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
    CDateTime result;
    switch (text[6]) {
        case 'z':  // e.g. 092345z: the 9th, 23:45 UTC
            result = DayOfRecentMonth(utcNow, first, second, third);
            break;
        case '/':  // e.g. 092345/: the 9th, 23:45 local time
            result = DayOfRecentMonth(localNow, first, second, third);
            if (result.IsValid())
                result += bias;
            break;
        case 'h':  // e.g. 234517h: 23:45:17 UTC today
            result = CDateTime(utcNow.Year(), utcNow.Month(), utcNow.Day(), first, second, third);
            break;
        default:  // e.g. 10092345: 9 October, 23:00 UTC (the minutes are not used)
            result = CDateTime(utcNow.Year(), first, second, third, 0, 0);
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
