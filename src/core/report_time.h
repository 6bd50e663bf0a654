// SPDX-License-Identifier: GPL-3.0-or-later
// The time stamps carried by position and weather reports, turned into date-time values.
#pragma once

#include <string_view>

#include "core/date_time.h"
#include "core/station_report.h"

namespace plovane {

// A seven-character APRS time stamp to UTC, relative to local "now" and the standard bias
// (UTC = local + bias minutes):
//   "DDHHMMz" day DD of the current UTC month (the previous month when that lies more than
//             a few minutes ahead of now), "DDHHMM/" day DD of the current local month (the
//             previous one when DD is later than today), "HHMMSSh" today in UTC (yesterday
//             when that lies more than a few minutes ahead),
//   anything else: "MMDDHH" of the current UTC year.
// A day the chosen month does not have (31 in a 30-day month) is taken as the month's last
// day. Returns false, leaving `utc` alone, when the text is not a usable time: wrong length,
// a non-digit among the first six characters, or a part out of range.
bool ParseReportTime(std::string_view text, const CDateTime& localNow, int biasMinutes,
                     CDateTime& utc);

// The date of a weather report: month/day of the current year at hour:minute (00:00 when
// either is missing or out of range), moved back a year when that lies after `now`. A
// month/day that no year has (30 February, month 13) gives false: no report time. 29
// February goes back to the latest leap year.
bool WeatherReportTime(const WeatherValues& values, const CDateTime& now, CDateTime& time);

// Days of a month, leap years counted.
int DaysInMonth(int year, int month);

}  // namespace plovane
