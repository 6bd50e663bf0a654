// SPDX-License-Identifier: GPL-3.0-or-later
// The Palm date conversion of the map files.
#include "maps/map_data.h"

namespace plovane {
namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

CDateTime PalmDateToDateTime(uint32_t seconds) {
    constexpr uint32_t kDay = 86400;
    int year = 1904;
    uint32_t rest = seconds;
    for (;;) {
        const uint32_t yearLength = (IsLeapYear(year) ? 366u : 365u) * kDay;
        if (rest < yearLength)
            break;
        rest -= yearLength;
        ++year;
    }
    const int monthLengths[12] = {
        31, IsLeapYear(year) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    uint32_t days = rest / kDay;
    rest %= kDay;
    int month = 0;
    while (days >= static_cast<uint32_t>(monthLengths[month])) {
        days -= static_cast<uint32_t>(monthLengths[month]);
        ++month;
    }
    const int hour = static_cast<int>(rest / 3600);
    const int minute = static_cast<int>(rest % 3600 / 60);
    const int second = static_cast<int>(rest % 60);
    return CDateTime(year, month + 1, static_cast<int>(days) + 1, hour, minute, second);
}

}  // namespace plovane
