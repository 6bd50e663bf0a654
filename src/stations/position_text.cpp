// SPDX-License-Identifier: GPL-3.0-or-later
// Typed positions and comment altitudes.
#include "stations/position_text.h"

#include <cmath>

#include "core/geo.h"
#include "core/latin1.h"

namespace plovane {
namespace {

// The number made by the leading digits, capped so long texts cannot overflow.
int LeadingNumber(std::string_view text, int cap) {
    int value = 0;
    for (const char c : text) {
        if (!latin1::IsDigit(static_cast<unsigned char>(c)))
            break;
        value = value * 10 + (c - '0');
        if (value > cap)
            return cap;
    }
    return value;
}

// The trailing digits as a decimal fraction: "50" is 0.50, "x25" is 0.25.
double TrailingFraction(std::string_view text) {
    double value = 0.0;
    for (size_t i = text.size(); i > 0; --i) {
        const char c = text[i - 1];
        if (!latin1::IsDigit(static_cast<unsigned char>(c)))
            break;
        value = (value + (c - '0')) / 10.0;
    }
    return value;
}

// Degrees + minutes/60 within [0, maxDegrees]; at the limit itself the minutes are dropped.
double TypedDegrees(std::string_view degrees, std::string_view minutes, std::string_view fraction,
                    int maxDegrees) {
    const int whole = LeadingNumber(degrees, maxDegrees);
    if (whole == maxDegrees)
        return whole;
    const int wholeMinutes = LeadingNumber(minutes, 59);
    return whole + (wholeMinutes + TrailingFraction(fraction)) / 60.0;
}

bool IsLetter(std::string_view text, char upper) {
    return !text.empty() && latin1::ToUpper(static_cast<unsigned char>(text[0])) == upper;
}

int32_t ToUnits(double degrees) {
    return static_cast<int32_t>(std::lround(degrees * kUnitsPerDegree));
}

}  // namespace

int32_t ColatitudeFromText(std::string_view degrees, std::string_view minutes,
                           std::string_view fraction, std::string_view hemisphere) {
    const double value = TypedDegrees(degrees, minutes, fraction, 90);
    return ToUnits(IsLetter(hemisphere, 'S') ? 90.0 + value : 90.0 - value);
}

int32_t LongitudeFromText(std::string_view degrees, std::string_view minutes,
                          std::string_view fraction, std::string_view hemisphere) {
    const double value = TypedDegrees(degrees, minutes, fraction, 180);
    return ToUnits(IsLetter(hemisphere, 'E') ? 180.0 + value : 180.0 - value);
}

}  // namespace plovane
