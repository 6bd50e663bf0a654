// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between APRS position texts and the fixed-point angle units.
#include "core/geo.h"

#include <algorithm>
#include <cstdio>

#include "core/latin1.h"

namespace plovane {
namespace {

// Reads up to maxDigits digits (skipping "."), building DDMMmm / DDDMMmm with missing
// trailing digits counted as zero. A space ends the number; -1 when there is no digit or
// anything else comes first.
int32_t ReadDigits(std::string_view text, int maxDigits) {
    int32_t weight = 1;
    for (int i = 1; i < maxDigits; ++i)
        weight *= 10;
    int32_t value = 0;
    int taken = 0;
    for (size_t i = 0; i < text.size() && taken < maxDigits; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= '0' && c <= '9') {
            value += (c - '0') * weight;
            weight /= 10;
            ++taken;
        } else if (c == '.') {
            continue;
        } else if (c == ' ') {
            break;
        } else {
            return -1;
        }
    }
    return taken == 0 ? -1 : value;
}

char HemisphereAt(std::string_view text, size_t index) {
    if (index >= text.size())
        return 0;
    return static_cast<char>(latin1::ToUpper(static_cast<unsigned char>(text[index])));
}

// Degrees, minutes and hundredths of a non-negative angle. A hundredths value that rounds
// to 100 carries into the minutes, and 60 minutes into the degrees.
SplitAngle SplitDegrees(double degreesValue, const char* hemisphere) {
    long degrees = static_cast<long>(degreesValue);
    const double m = (degreesValue - static_cast<double>(degrees)) * 60.0 + 0.0001;
    long minutes = static_cast<long>(m);
    long hundredths = static_cast<long>((m - static_cast<double>(minutes)) * 100.0 + 0.5);
    if (hundredths >= 100) {
        hundredths -= 100;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        ++degrees;
    }
    SplitAngle out;
    out.degrees = std::to_string(degrees);
    out.minutes = std::to_string(minutes);
    std::string h = std::to_string(hundredths);
    if (h.size() < 2)
        h = "0" + h;
    h += "00";
    out.hundredths = h.substr(0, 2);
    out.hemisphere = hemisphere;
    return out;
}

}  // namespace

int32_t ParseLatitude(std::string_view text) {
    const char hemisphere = HemisphereAt(text, 7);
    if (hemisphere != 'N' && hemisphere != 'S')
        return -1;
    const int32_t digits = ReadDigits(text, 6);
    return digits < 0 ? -1 : AngleFromDigits(digits, kColatitudeBaseDegrees, hemisphere == 'N');
}

int32_t ParseLongitude(std::string_view text) {
    const char hemisphere = HemisphereAt(text, 8);
    if (hemisphere != 'W' && hemisphere != 'E')
        return -1;
    const int32_t digits = ReadDigits(text, 7);
    return digits < 0 ? -1 : AngleFromDigits(digits, kLongitudeBaseDegrees, hemisphere == 'W');
}

SplitAngle SplitLatitude(int32_t colatitude) {
    const double g = static_cast<double>(colatitude) / kUnitsPerDegree;
    const bool south = g > 90.0;
    const double lat = std::clamp(south ? g - 90.0 : 90.0 - g, 0.0, 90.0);
    return SplitDegrees(lat, south ? "S" : "N");
}

SplitAngle SplitLongitude(int32_t longitude) {
    const double g = static_cast<double>(longitude) / kUnitsPerDegree;
    const bool east = g > 180.0;
    const double lon = std::clamp(east ? g - 180.0 : 180.0 - g, 0.0, 180.0);
    return SplitDegrees(lon, east ? "E" : "W");
}

}  // namespace plovane
