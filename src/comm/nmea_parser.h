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

// Parses a cleaned line. False when the checksum fails or the sentence is not a GGA, GLL, RMC
// or VTG from a GPS ("$GP") or combined-GNSS ("$GN") talker; names and hemisphere letters
// count only in upper case. An empty or non-numeric speed or course is left out.
bool ParseNmeaSentence(std::string_view line, NmeaReport& report);

}  // namespace plovane
