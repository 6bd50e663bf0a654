// SPDX-License-Identifier: GPL-3.0-or-later
// What follows the symbol code of a position: the seven-character data extensions PHG, DFS,
// RNG and "ccc/sss" (with a direction-finding "/BRG/NRQ" after it), weather data after a
// weather symbol, storm reports, and the comment. Every path ends in one UpdatePosition and
// one SetDeviceAndPath.
#include <algorithm>
#include <cstdint>

#include "aprs/decoders.h"
#include "core/latin1.h"
#include "core/units.h"

namespace plovane::aprs {
namespace {

using latin1::IsDigit;

using latin1::U;

int DigitValue(char c) {
    return U(c) - '0';
}

// 10 x 2^h feet. The PHG height character may be any byte from "0" up (":" is 10, and so
// on), so the power is taken in 64 bits with the exponent capped where the result is far
// beyond anything stored: the store clamps heights above its 16-bit field to 32767.
int HeightFeet(char heightChar) {
    const int exponent = std::min(DigitValue(heightChar), 32);
    const int64_t feet = int64_t{10} << exponent;
    return static_cast<int>(std::min<int64_t>(feet, INT32_MAX));
}

// Directivity code x 45 degrees; 0 is omnidirectional, 9 would be 405 and is held at 360.
int DirectivityDegrees(char code) {
    return std::min(DigitValue(code) * 45, 360);
}

int ThreeDigits(std::string_view text) {
    return DigitValue(text[0]) * 100 + DigitValue(text[1]) * 10 + DigitValue(text[2]);
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(U(c)); });
}

// "...", "   " or three digits: a wind group that a station without a wind sensor blanks.
bool DigitsOrBlank(std::string_view text) {
    return AllDigits(text) || text == "..." || text == "   ";
}

// "/270/729" right after course and speed: a bearing and the number of hits, range and
// quality digits of a direction-finding report.
bool IsBearingReport(std::string_view text) {
    return text.size() >= 8 && text[0] == '/' && AllDigits(text.substr(1, 3)) && text[4] == '/' &&
           AllDigits(text.substr(5, 3));
}

bool StartsWithWeatherField(std::string_view text) {
    return text.starts_with('g') || text.starts_with('t') || text.starts_with('c') ||
           text.starts_with('s');
}

// Weather stations without a wind sensor send ".../...g005t077" or start straight with the
// fields ("g005t077..."); their weather is still weather, with the wind not reported.
// A weather station's "sss" wind in mph as the whole knots the weather record keeps.
int WindKnotsFromMph(int mph) {
    return mph < 0 ? -1 : static_cast<int>(mph * kKnotsPerMph + 0.5);
}

bool DecodeWindlessWeather(ReportWriter& out, std::string_view name, std::string_view destination,
                           std::string_view path, std::string_view symbol,
                           std::string_view latitude, std::string_view longitude,
                           std::string_view time, std::string_view tail) {
    if (symbol.size() < 2 || symbol[1] != '_')
        return false;
    std::string_view fields;
    int direction = -1;
    int speed = -1;
    if (tail.size() >= 7 && tail[3] == '/' && DigitsOrBlank(tail.substr(0, 3)) &&
        DigitsOrBlank(tail.substr(4, 3)) &&
        !(AllDigits(tail.substr(0, 3)) && AllDigits(tail.substr(4, 3)))) {
        fields = tail.substr(7);
        if (AllDigits(tail.substr(0, 3)))
            direction = ThreeDigits(tail.substr(0, 3));
        if (AllDigits(tail.substr(4, 3)))
            speed = WindKnotsFromMph(ThreeDigits(tail.substr(4, 3)));
        if (!fields.starts_with('g') && !fields.starts_with('t'))
            return false;
    } else if (StartsWithWeatherField(tail) && tail.size() >= 4 && AllDigits(tail.substr(1, 3))) {
        fields = tail;
    } else {
        return false;
    }
    DecodeWeather(out, name, destination, path, fields, direction, speed);
    out.SetDeviceAndPath(name, destination, path, "");
    out.UpdatePosition(name, symbol, latitude, longitude, time, "", -1);
    return true;
}

}  // namespace

void DecodeExtensions(ReportWriter& out, std::string_view name, std::string_view destination,
                      std::string_view path, std::string_view symbol, std::string_view latitude,
                      std::string_view longitude, std::string_view time, std::string_view tail) {
    const auto commentOnly = [&](std::string_view comment) {
        out.UpdatePosition(name, symbol, latitude, longitude, time, comment, -1);
        out.SetDeviceAndPath(name, destination, path, "");
    };
    if (tail.size() < 7)
        return commentOnly(tail);

    // "PHG5132/Home": power 5^2 W, height 10 x 2^1 ft, gain 3 dB, directivity 2 x 45.
    if (tail.starts_with("PHG")) {
        std::string_view comment = tail;
        if (IsDigit(U(tail[3])) && U(tail[4]) >= '0' && IsDigit(U(tail[5])) &&
            IsDigit(U(tail[6]))) {
            const int power = DigitValue(tail[3]);
            out.SetPhg(name, power * power, HeightFeet(tail[4]), DigitValue(tail[5]),
                       DirectivityDegrees(tail[6]));
            comment = tail.substr(7);
        }
        out.SetDeviceAndPath(name, destination, path, "");
        out.UpdatePosition(name, symbol, latitude, longitude, time, comment, -1);
        return;
    }

    // "DFS2360": strength 2 (not squared), then height, gain and directivity as for PHG.
    if (tail.starts_with("DFS")) {
        std::string_view comment = tail;
        if (IsDigit(U(tail[3])) && IsDigit(U(tail[4])) && IsDigit(U(tail[5])) &&
            IsDigit(U(tail[6]))) {
            out.SetDfs(name, DigitValue(tail[3]), HeightFeet(tail[4]), DigitValue(tail[5]),
                       DirectivityDegrees(tail[6]));
            comment = tail.substr(7);
        }
        out.SetDeviceAndPath(name, destination, path, "");
        out.UpdatePosition(name, symbol, latitude, longitude, time, comment, -1);
        return;
    }

    // "RNG0050": the radio range in miles.
    if (tail.starts_with("RNG")) {
        std::string_view comment = tail;
        if (AllDigits(tail.substr(3, 4))) {
            out.SetRange(name, ThreeDigits(tail.substr(3, 3)) * 10 + DigitValue(tail[6]));
            comment = tail.substr(7);
        }
        out.SetDeviceAndPath(name, destination, path, "");
        out.UpdatePosition(name, symbol, latitude, longitude, time, comment, -1);
        return;
    }

    if (DecodeWindlessWeather(out, name, destination, path, symbol, latitude, longitude, time,
                              tail)) {
        return;
    }

    // "088/036Moving": course in degrees, speed in knots; ".../..." or "   /   " when they
    // are not known.
    const std::string_view course = tail.substr(0, 3);
    const std::string_view speed = tail.substr(4, 3);
    if (tail[3] == '/' && DigitsOrBlank(course) && DigitsOrBlank(speed)) {
        const bool known = AllDigits(course) && AllDigits(speed);
        std::string_view rest = tail.substr(7);
        if (IsBearingReport(rest)) {
            out.SetBearing(name, ThreeDigits(rest.substr(1, 3)), ThreeDigits(rest.substr(5, 3)));
            rest.remove_prefix(8);
        }
        ApplyCourseSpeed(out, name, destination, path, symbol, latitude, longitude, time,
                         known ? ThreeDigits(course) : -1, known ? ThreeDigits(speed) : -1, rest,
                         WindUnit::kMph);
        return;
    }

    commentOnly(tail);
}

void ApplyCourseSpeed(ReportWriter& out, std::string_view name, std::string_view destination,
                      std::string_view path, std::string_view symbol, std::string_view latitude,
                      std::string_view longitude, std::string_view time, int course, int speed,
                      std::string_view rest, WindUnit windUnit) {
    const char code = symbol.size() >= 2 ? symbol[1] : '\0';

    // Weather station: "220/004g005t077..." is wind direction and speed, then the fields.
    if (code == '_' && (rest.starts_with('g') || rest.starts_with('t'))) {
        const int wind = windUnit == WindUnit::kMph ? WindKnotsFromMph(speed) : speed;
        DecodeWeather(out, name, destination, path, rest, course, wind);
        out.SetDeviceAndPath(name, destination, path, "");
        out.UpdatePosition(name, symbol, latitude, longitude, time, "", -1);
        return;
    }
    // Storm: "088/036/TS..." describes the storm's track, not the sender's motion.
    if (code == '@' && rest.starts_with('/')) {
        out.SetDeviceAndPath(name, destination, path, "");
        out.UpdatePosition(name, symbol, latitude, longitude, time, rest, -1);
        return;
    }
    if (course >= 0)
        out.SetCourseSpeed(name, speed, course);
    out.SetDeviceAndPath(name, destination, path, "");
    out.UpdatePosition(name, symbol, latitude, longitude, time, rest, -1);
}

}  // namespace plovane::aprs
