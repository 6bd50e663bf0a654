// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_time.h"

#include <cstddef>

namespace plovane {
namespace {

// Exactly `count` digits from `at`.
bool Digits(std::string_view text, size_t& at, size_t count, int64_t& value) {
    value = 0;
    if (at + count > text.size())
        return false;
    for (size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    at += count;
    return true;
}

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool IsLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool ParseDate(std::string_view text, int64_t& utc) {
    size_t at = 0;
    int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(text, at, 4, year) || at >= text.size() || text[at++] != '-' ||
        !Digits(text, at, 2, month) || at >= text.size() || text[at++] != '-' ||
        !Digits(text, at, 2, day)) {
        return false;
    }
    if (at < text.size() && (text[at] == 'T' || text[at] == ' ')) {
        ++at;
        if (!Digits(text, at, 2, hour) || at >= text.size() || text[at++] != ':' ||
            !Digits(text, at, 2, minute)) {
            return false;
        }
        if (at < text.size() && text[at] == ':') {
            ++at;
            if (!Digits(text, at, 2, second))
                return false;
        }
    }
    if (at < text.size() && text[at] == 'Z')
        ++at;
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (at != text.size() || month < 1 || month > 12 || day < 1 ||
        day > kMonthDays[month - 1] + (month == 2 && IsLeap(year)) || hour > 23 || minute > 59 ||
        second > 59) {
        return false;
    }
    utc = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

}  // namespace

bool ParseHistoryTime(std::string_view text, int64_t nowUtc, int64_t& utc) {
    // Twelve digits are more than 30 000 years of seconds: enough, and no overflow.
    constexpr size_t kMaxDigits = 12;
    if (text == "now") {
        utc = nowUtc;
        return true;
    }
    if (!text.empty() && (text.front() == '@' || text.front() == '-')) {
        const bool relative = text.front() == '-';
        std::string_view digits = text.substr(1);
        int64_t unit = 1;
        if (relative) {
            if (digits.empty())
                return false;
            switch (digits.back()) {
                case 's':
                    unit = 1;
                    break;
                case 'm':
                    unit = 60;
                    break;
                case 'h':
                    unit = 3600;
                    break;
                case 'd':
                    unit = 86400;
                    break;
                default:
                    return false;
            }
            digits.remove_suffix(1);
        }
        int64_t value = 0;
        size_t at = 0;
        if (digits.empty() || digits.size() > kMaxDigits ||
            !Digits(digits, at, digits.size(), value))
            return false;
        utc = relative ? nowUtc - value * unit : value;
        return true;
    }
    return ParseDate(text, utc);
}

}  // namespace plovane
