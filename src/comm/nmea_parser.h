// SPDX-License-Identifier: GPL-3.0-or-later
// NMEA 0183 sentences from a GPS receiver, or inside a packet whose payload is a sentence:
// GGA, GLL, RMC and VTG give the position, altitude, UTC time, course and speed.
//   $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovane {

// What one sentence says, in the forms the station store takes.
struct NmeaReport {
    bool hasPosition = false;             // a fix: the fields were not empty or all zero
    std::string latitude = "0000.00S";    // DDMM.mm and N or S
    std::string longitude = "00000.00E";  // DDDMM.mm and E or W
    std::string time;                     // HHMMSS and "h" (UTC); shorter when the field was
    int32_t altitudeDm = -1;              // decimetres, -1 unknown (GGA only)
    bool hasSpeed = false;                // RMC and VTG
    bool hasCourse = false;
    int speedKnots = 0;
    int courseDegrees = 0;
};

// Every white-space byte becomes a blank, then both ends are trimmed.
std::string CleanNmeaLine(std::string_view line);

// The XOR of the bytes between "$" and the last "*" equals the one or two hexadecimal digits
// after it (either case). No "*", no digits, more than two, or a non-hex digit fail.
bool NmeaChecksumOk(std::string_view line);

// Rounds half up a value that its source printed in steps of `step` (in the value's unit; 0 for
// an exact text): a value printed up to half a step low still rounds as the receiver's own
// sentence would. Serial sentences and gpsd reports go through this one rule, so the same fix
// gives the same position, speed and course either way.
long RoundNmeaValue(double value, double step = 0);

// Degrees to "DDMM.mmH" (degreeDigits 2) or "DDDMM.mmH" (3), the minutes rounded to hundredths
// (59.996' carries into the next degree). `step` is the source's resolution in degrees.
std::string NmeaCoordinate(double degrees, int degreeDigits, char positive, char negative,
                           double step = 0);

// Parses a cleaned line. False when the checksum fails or the sentence is not a GGA, GLL, RMC
// or VTG from a GPS ("$GP") or combined-GNSS ("$GN") talker; names and hemisphere letters
// count only in upper case. Minutes, speed and course are rounded (RoundNmeaValue); a
// coordinate that is not plain digits is kept as written, cut to hundredths. An empty or
// non-numeric speed or course is left out.
bool ParseNmeaSentence(std::string_view line, NmeaReport& report);

}  // namespace plovane
