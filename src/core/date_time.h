// SPDX-License-Identifier: GPL-3.0-or-later
// Date-time and interval values on the OLE Automation date: days since 30 December 1899
// 00:00 as a double, with a status. Negative values count days backwards while their
// fraction still counts forwards from midnight (-1.25 is 29 December 1899 06:00), so all
// arithmetic and comparison goes through a linear scale.
#pragma once

#include <cstdint>
#include <string>

namespace plovane {

class CDateTimeSpan;

class CDateTime {
public:
    enum Status : int32_t { kValid = 0, kInvalid = 1, kNull = 2 };

    static constexpr double kMinValue = -657434.0;  // 1 January 100
    static constexpr double kMaxValue = 2958465.0;  // 31 December 9999

    CDateTime() = default;
    explicit CDateTime(double value, Status status = kValid) : value_(value), status_(status) {}
    // Invalid when a part is out of range (year above 9999, a day the month does not have...).
    CDateTime(int year, int month, int day, int hour, int minute, int second);

    double value() const { return value_; }
    Status status() const { return status_; }
    bool IsValid() const { return status_ == kValid; }
    void SetStatus(Status status) { status_ = status; }

    // Parts, rounded to the nearest second; -1 when not valid or out of range.
    int Year() const { return Parts().year; }
    int Month() const { return Parts().month; }
    int Day() const { return Parts().day; }
    int Hour() const { return Parts().hour; }
    int Minute() const { return Parts().minute; }
    int Second() const { return Parts().second; }
    int DayOfWeek() const { return Parts().dayOfWeek; }  // 1 = Sunday
    int DayOfYear() const { return Parts().dayOfYear; }  // 1 = 1 January

    CDateTime operator+(const CDateTimeSpan& span) const;
    CDateTime operator-(const CDateTimeSpan& span) const;
    CDateTime& operator+=(const CDateTimeSpan& span) { return *this = *this + span; }
    CDateTime& operator-=(const CDateTimeSpan& span) { return *this = *this - span; }
    CDateTimeSpan operator-(const CDateTime& other) const;

    bool operator<(const CDateTime& o) const;
    bool operator>(const CDateTime& o) const { return o < *this; }
    bool operator<=(const CDateTime& o) const { return !(o < *this); }
    bool operator>=(const CDateTime& o) const { return !(*this < o); }
    bool operator==(const CDateTime& o) const {
        return status_ == o.status_ && value_ == o.value_;
    }
    bool operator!=(const CDateTime& o) const { return !(*this == o); }

    // "YYYY-MM-DDTHH:MM:SSZ" (the value taken as UTC); empty when not valid.
    std::string ToIso8601() const;

    // Maps a value to the linear scale and back (identity for non-negative values).
    static double ToLinear(double value);
    static double FromLinear(double linear);

private:
    struct DateParts {
        int year = -1, month = -1, day = -1, hour = -1, minute = -1, second = -1;
        int dayOfWeek = -1, dayOfYear = -1;
    };
    DateParts Parts() const;

    double value_ = 0.0;
    Status status_ = kValid;
};

class CDateTimeSpan {
public:
    using Status = CDateTime::Status;

    CDateTimeSpan() = default;
    explicit CDateTimeSpan(double days, Status status = CDateTime::kValid)
        : value_(days), status_(status) {}
    CDateTimeSpan(int32_t days, int32_t hours, int32_t minutes, int32_t seconds)
        : value_(days + hours / 24.0 + minutes / 1440.0 + seconds / 86400.0) {}

    double value() const { return value_; }
    Status status() const { return status_; }
    bool IsValid() const { return status_ == CDateTime::kValid; }
    int64_t TotalSeconds() const;

    bool operator<(const CDateTimeSpan& o) const { return value_ < o.value_; }
    bool operator>(const CDateTimeSpan& o) const { return value_ > o.value_; }
    bool operator<=(const CDateTimeSpan& o) const { return value_ <= o.value_; }
    bool operator>=(const CDateTimeSpan& o) const { return value_ >= o.value_; }
    bool operator==(const CDateTimeSpan& o) const {
        return status_ == o.status_ && value_ == o.value_;
    }
    bool operator!=(const CDateTimeSpan& o) const { return !(*this == o); }

private:
    double value_ = 0.0;
    Status status_ = CDateTime::kValid;
};

}  // namespace plovane
