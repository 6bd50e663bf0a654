// SPDX-License-Identifier: GPL-3.0-or-later
// Fixed-point geographic units and the APRS latitude/longitude texts.
//
// Angles are signed 32-bit counts of 1/360000 degree (a hundredth of an arc-second).
// Colatitude runs from 0 at the north pole to 64800000 at the south pole; longitude
// from 0 at 180 W through 64800000 at Greenwich to 129600000 at 180 E.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovane {

inline constexpr int32_t kUnitsPerDegree = 360000;
inline constexpr int32_t kUnitsPerMinute = 6000;
inline constexpr int32_t kUnitsPerHundredthMinute = 60;

// The equator and the Greenwich meridian are positions like any other: whether a record has
// a position is a flag of its own.
inline constexpr int32_t kEquatorColatitude = 32400000;
inline constexpr int32_t kGreenwichLongitude = 64800000;
inline constexpr int32_t kMaxColatitude = 64800000;
inline constexpr int32_t kMaxLongitude = 129600000;

// True for a point on the globe, the poles and both sides of the date line included; false
// for a failed conversion (-1) or a value beyond them.
inline bool IsOnGlobe(int32_t colatitude, int32_t longitude) {
    return colatitude >= 0 && colatitude <= kMaxColatitude && longitude >= 0 &&
           longitude <= kMaxLongitude;
}

// Angle units of the digits "DDMMmm" (or "DDDMMmm") read as one number: north and west
// count back from the base (135 degrees of colatitude, 270 of longitude), south and east on.
inline constexpr int32_t kColatitudeBaseDegrees = 135;
inline constexpr int32_t kLongitudeBaseDegrees = 270;
inline int32_t AngleFromDigits(int32_t digits, int32_t baseDegrees, bool northOrWest) {
    const int32_t degrees = digits / 10000;
    return northOrWest ? ((degrees + baseDegrees) * 4000 - digits) * 60
                       : ((baseDegrees - degrees) * 4000 + digits) * 60;
}

// "DDMM.mmN" -> colatitude; -1 when the hemisphere letter is missing, no digit is given or a
// character other than a digit, "." or a blank is met. Spaces blank digits from the right
// (position ambiguity).
int32_t ParseLatitude(std::string_view text);
// "DDDMM.mmW" -> longitude; -1 as for ParseLatitude.
int32_t ParseLongitude(std::string_view text);

// A coordinate split into the pieces the forms and packets are built from.
struct SplitAngle {
    std::string degrees;     // no leading zeros
    std::string minutes;     // no leading zeros
    std::string hundredths;  // always two digits
    std::string hemisphere;  // "N"/"S" or "E"/"W"
};

SplitAngle SplitLatitude(int32_t colatitude);
SplitAngle SplitLongitude(int32_t longitude);

// Decimal degrees (north/east positive) of a fixed-point coordinate.
inline double LatitudeDegrees(int32_t colatitude) {
    return 90.0 - static_cast<double>(colatitude) / kUnitsPerDegree;
}
inline double LongitudeDegrees(int32_t longitude) {
    return static_cast<double>(longitude) / kUnitsPerDegree - 180.0;
}

}  // namespace plovane
