// Formatting of the own position and status reports.
#include "transmit/position_packet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/geo.h"
#include "core/latin1.h"

namespace plovane {
namespace {

std::string ZeroPadded(const std::string& digits, size_t width) {
    return digits.size() >= width ? digits : std::string(width - digits.size(), '0') + digits;
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", std::clamp(value, 0, 99));
    return text;
}

// "DDHHMMz" of the given UTC time.
std::string TimeStamp(const CDateTime& utcNow) {
    return TwoDigits(utcNow.Day()) + TwoDigits(utcNow.Hour()) + TwoDigits(utcNow.Minute()) + "z";
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
    std::string text = ZeroPadded(split.degrees, degreeWidth) + ZeroPadded(split.minutes, 2) + "." +
                       ZeroPadded(split.hundredths, 2);
    BlankDigits(text, ambiguity);
    return text + split.hemisphere;
}

char Digit(long value) {
    return static_cast<char>('0' + std::clamp(value, 0L, 9L));
}

std::string ThreeDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    return text;
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
        text = record.speed > 0 ? "@" : "/";
        text += TimeStamp(utcNow);
    } else {
        text = "=";
    }
    text += FormatLatitudeText(record.colatitude, record.ambiguity);
    text += record.symbolTable;
    text += FormatLongitudeText(record.longitude, record.ambiguity);
    text += record.symbolCode;

    const bool ours = latin1::ToUpper(record.call) == latin1::ToUpper(myCall);
    if (record.moving && (!ours || mobile)) {
        // e.g. 088/036: course in degrees, speed in knots
        text += ThreeDigits(std::clamp<int>(record.course, 0, 360)) + "/" +
                ThreeDigits(std::clamp<int>(record.speed, 0, 999));
    } else if (record.hasPhg) {
        text += FormatPhg(record.phgPower, record.phgHeight, record.phgGain, record.phgDirectivity);
    }
    if (!record.comment.empty())
        text += "/" + record.comment;
    return text;
}

std::string FormatStatusReport(std::string_view text, const CDateTime& utcNow) {
    return ">" + TimeStamp(utcNow) + std::string(text);
}

}  // namespace plovane
