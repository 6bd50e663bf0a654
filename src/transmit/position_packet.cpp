// SPDX-License-Identifier: GPL-3.0-or-later
// Formatting of the own position and status reports.
#include "transmit/position_packet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/geo.h"
#include "core/latin1.h"

namespace plovane {
namespace {

// The texts here are built by appending to one string: gcc 12 inlines chains of
// std::string operator+ and then warns (-Wrestrict) about copies that cannot overlap.

void AppendZeroPadded(std::string& out, const std::string& digits, size_t width) {
    if (digits.size() < width)
        out.append(width - digits.size(), '0');
    out += digits;
}

// "DDHHMMz" of the given UTC time.
void AppendTimeStamp(std::string& out, const CDateTime& utcNow) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02dz", std::clamp(utcNow.Day(), 0, 99),
                  std::clamp(utcNow.Hour(), 0, 99), std::clamp(utcNow.Minute(), 0, 99));
    out += text;
}

// Blanks the last `ambiguity` digit places of "DDMM.mm" / "DDDMM.mm" (before the hemisphere):
// hundredths first, then the minutes.
void BlankDigits(std::string& text, int ambiguity) {
    const size_t dot = text.find('.');
    const size_t places[kMaxAmbiguity] = {dot + 2, dot + 1, dot - 1, dot - 2};
    for (int i = 0; i < EffectiveAmbiguity(ambiguity); ++i)
        text[places[i]] = ' ';
}

std::string AngleText(const SplitAngle& split, size_t degreeWidth, int ambiguity) {
    std::string text;
    AppendZeroPadded(text, split.degrees, degreeWidth);
    AppendZeroPadded(text, split.minutes, 2);
    text += '.';
    AppendZeroPadded(text, split.hundredths, 2);
    BlankDigits(text, ambiguity);
    text += split.hemisphere;
    return text;
}

char Digit(long value) {
    return static_cast<char>('0' + std::clamp(value, 0L, 9L));
}

}  // namespace

int EffectiveAmbiguity(int level) {
    return level < 1 ? 0 : std::min(level, kMaxAmbiguity);
}

std::string FormatLatitudeText(int32_t colatitude, int ambiguity) {
    return AngleText(SplitLatitude(colatitude), 2, ambiguity);
}

std::string FormatLongitudeText(int32_t longitude, int ambiguity) {
    return AngleText(SplitLongitude(longitude), 3, ambiguity);
}

std::string FormatPhg(int powerWatts, int heightFeet, int gainDb, int directivityDegrees) {
    const long power = powerWatts > 0 ? static_cast<long>(std::sqrt(powerWatts)) : 0;
    // Height code: feet = 10 x 2^code, so code = log2(feet / 10), rounded.
    const int tens = heightFeet / 10;
    const long height = tens >= 1 ? static_cast<long>(std::log2(tens) + 0.5) : 0;
    std::string text = "PHG";
    text += Digit(power);
    text += Digit(height);
    text += Digit(gainDb);
    text += Digit(directivityDegrees / 45);
    return text;
}

std::string FormatPositionReport(const PositionReportData& record, std::string_view myCall,
                                 bool mobile, const CDateTime& utcNow) {
    std::string text;
    if (record.moving) {
        text += record.speed > 0 ? '@' : '/';
        AppendTimeStamp(text, utcNow);
    } else {
        text += '=';
    }
    text += FormatLatitudeText(record.colatitude, record.ambiguity);
    text += record.symbolTable;
    text += FormatLongitudeText(record.longitude, record.ambiguity);
    text += record.symbolCode;

    const bool ours = latin1::ToUpper(record.call) == latin1::ToUpper(myCall);
    if (record.moving && (!ours || mobile)) {
        // e.g. 088/036: course in degrees, speed in knots
        char courseSpeed[16];
        std::snprintf(courseSpeed, sizeof courseSpeed, "%03d/%03d",
                      std::clamp<int>(record.course, 0, 360),
                      std::clamp<int>(record.speed, 0, 999));
        text += courseSpeed;
    } else if (record.hasPhg) {
        text += FormatPhg(record.phgPower, record.phgHeight, record.phgGain, record.phgDirectivity);
    }
    if (!record.comment.empty()) {
        text += '/';
        text += record.comment;
    }
    return text;
}

std::string FormatStatusReport(std::string_view text, const CDateTime& utcNow) {
    std::string report = ">";
    AppendTimeStamp(report, utcNow);
    report += text;
    return report;
}

}  // namespace plovane
