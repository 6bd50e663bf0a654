// SPDX-License-Identifier: GPL-3.0-or-later
// OLE Automation date arithmetic.
#include "core/date_time.h"

#include <cmath>
#include <cstdio>

namespace plovane {
namespace {

constexpr double kHalfSecond = 5.787037037037037e-6;
constexpr long kDaysTo1899 = 693959;  // 30 December 1899 counted from 1 January of year 0

// Days before each month in a common year, with a sentinel for December's end.
constexpr int kMonthStart[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    if (month == 2 && IsLeapYear(year)) return 29;
    return kMonthStart[month] - kMonthStart[month - 1];
}

bool InRange(double value) {
    return value >= CDateTime::kMinValue && value <= CDateTime::kMaxValue;
}

CDateTime::Status CombinedStatus(CDateTime::Status a, CDateTime::Status b) {
    if (a == CDateTime::kNull || b == CDateTime::kNull) return CDateTime::kNull;
    if (a == CDateTime::kInvalid || b == CDateTime::kInvalid) return CDateTime::kInvalid;
    return CDateTime::kValid;
}

}  // namespace

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        status_ = kInvalid;
        return;
    }
    long dayNumber = static_cast<long>(year) * 365 + year / 4 - year / 100 + year / 400 +
                     kMonthStart[month - 1] + day;
    if (IsLeapYear(year) && month <= 2) --dayNumber;
    dayNumber -= kDaysTo1899;
    const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    value_ = dayNumber < 0 ? static_cast<double>(dayNumber) - time
                           : static_cast<double>(dayNumber) + time;
}

CDateTime::DateParts CDateTime::Parts() const {
    DateParts p;
    if (status_ != kValid || !InRange(value_)) return p;

    // Round to the nearest second before splitting.
    const double rounded = value_ >= 0.0 ? value_ + kHalfSecond : value_ - kHalfSecond;
    long days = static_cast<long>(rounded) + kDaysTo1899;
    const double absolute = std::fabs(rounded);
    const long secondsOfDay = static_cast<long>((absolute - std::floor(absolute)) * 86400.0);

    p.dayOfWeek = static_cast<int>((days - 1) % 7) + 1;

    // Gregorian cycles: 400 years, centuries (the first of each 400 has a leap year in its
    // first 4-year block), 4-year blocks (the first of a non-leap century lacks its leap day),
    // then years.
    const long cycles400 = days / 146097;
    days %= 146097;
    long century = (days - 1) / 36524;
    long blocks4;
    long dayInBlock;
    bool blockHasLeap = true;
    if (century != 0) {
        days = (days - 1) % 36524;
        blocks4 = (days + 1) / 1461;
        if (blocks4 != 0) {
            dayInBlock = (days + 1) % 1461;
        } else {
            blockHasLeap = false;
            dayInBlock = days;
        }
    } else {
        century = 0;
        blocks4 = days / 1461;
        dayInBlock = days % 1461;
    }
    long yearInBlock;
    if (blockHasLeap) {
        yearInBlock = (dayInBlock - 1) / 365;
        if (yearInBlock != 0) dayInBlock = (dayInBlock - 1) % 365;
    } else {
        yearInBlock = dayInBlock / 365;
        dayInBlock %= 365;
    }
    p.dayOfYear = static_cast<int>(dayInBlock) + 1;
    p.year = static_cast<int>(cycles400 * 400 + century * 100 + blocks4 * 4 + yearInBlock);

    const bool leapYear = yearInBlock == 0 && blockHasLeap;
    if (leapYear && dayInBlock == 59) {
        p.month = 2;
        p.day = 29;
    } else {
        if (leapYear && dayInBlock >= 60) --dayInBlock;
        const long dayOfCommonYear = dayInBlock + 1;
        int month = 1;
        while (dayOfCommonYear > kMonthStart[month]) ++month;
        p.month = month;
        p.day = static_cast<int>(dayOfCommonYear - kMonthStart[month - 1]);
    }
    p.second = static_cast<int>(secondsOfDay % 60);
    p.minute = static_cast<int>((secondsOfDay / 60) % 60);
    p.hour = static_cast<int>(secondsOfDay / 3600);
    return p;
}

double CDateTime::ToLinear(double value) {
    if (value >= 0.0) return value;
    const double c = std::ceil(value);
    return c - (value - c);
}

double CDateTime::FromLinear(double linear) {
    if (linear >= 0.0) return linear;
    const double f = std::floor(linear);
    return f + (f - linear);
}

CDateTime CDateTime::operator+(const CDateTimeSpan& span) const {
    const Status status = CombinedStatus(status_, span.status());
    if (status != kValid) return CDateTime(0.0, status);
    const double result = FromLinear(ToLinear(value_) + span.value());
    return CDateTime(result, InRange(result) ? kValid : kInvalid);
}

CDateTime CDateTime::operator-(const CDateTimeSpan& span) const {
    return *this + CDateTimeSpan(-span.value(), span.status());
}

CDateTimeSpan CDateTime::operator-(const CDateTime& other) const {
    const Status status = CombinedStatus(status_, other.status_);
    if (status != kValid) return CDateTimeSpan(0.0, status);
    return CDateTimeSpan(ToLinear(value_) - ToLinear(other.value_));
}

bool CDateTime::operator<(const CDateTime& o) const {
    return ToLinear(value_) < ToLinear(o.value_);
}

std::string CDateTime::ToIso8601() const {
    const DateParts p = Parts();
    if (p.year < 0) return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02dZ", p.year, p.month,
                  p.day, p.hour, p.minute, p.second);
    return buffer;
}

int64_t CDateTimeSpan::TotalSeconds() const {
    return static_cast<int64_t>(value_ * 86400.0 + kHalfSecond);
}

}  // namespace plovane
