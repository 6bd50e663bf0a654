// SPDX-License-Identifier: GPL-3.0-or-later
// Weather reports: the APRS weather fields (positionless "_" reports and the fields after a
// weather-symbol position) and the hexadecimal records of Peet Bros Ultimeter and U-II
// stations ("$ULTW", "!!", "#", "*"). Values leave here in the store's units: knots, tenths
// of a degree Celsius, of a percent, of a millibar and of a millimetre.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "aprs/decoders.h"
#include "core/date_time.h"
#include "core/latin1.h"
#include "core/units.h"

namespace plovane::aprs {
namespace {

// Longest digit run read as one number; nine digits always fit an int32_t.
constexpr size_t kMaxDecimalDigits = 9;

struct Number {
    int32_t value = 0;
    bool read = false;  // at least one digit was read (a lone "-" is no value)
};

// An optional "-" and the decimal digits after it, at most maxLength characters in all,
// stopping at the first non-digit.
Number ParseDecimal(std::string_view text, size_t start, size_t maxLength) {
    Number n;
    if (start >= text.size())
        return n;
    const size_t end = start + std::min(maxLength, text.size() - start);
    size_t pos = start;
    bool negative = false;
    if (pos < end && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    int64_t value = 0;
    size_t digits = 0;
    while (pos < end && text[pos] >= '0' && text[pos] <= '9' && digits < kMaxDecimalDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    n.read = digits > 0;
    n.value = static_cast<int32_t>(negative ? -value : value);
    return n;
}

using latin1::HexDigit;

// Up to `length` hexadecimal digits (at most 8), stopping at the first other character.
struct HexNumber {
    uint32_t value = 0;
    size_t digits = 0;
};

HexNumber ParseHex(std::string_view text, size_t start, size_t length) {
    HexNumber n;
    for (size_t pos = start; pos < text.size() && n.digits < length && n.digits < 8; ++pos) {
        const int digit = HexDigit(text[pos]);
        if (digit < 0)
            break;
        n.value = n.value * 16 + static_cast<uint32_t>(digit);
        ++n.digits;
    }
    return n;
}

// A four-digit field of an Ultimeter record; -1 when fewer than four digits are there.
int32_t HexField(std::string_view text, size_t start) {
    const HexNumber n = ParseHex(text, start, 4);
    return n.digits == 4 ? static_cast<int32_t>(n.value) : -1;
}

// "Whole part of (x + 0.5)", dropping the fraction towards zero as the conversions do.
int32_t WholePart(double x) {
    return static_cast<int32_t>(x);
}

int32_t MphToKnots(int32_t mph) {
    return WholePart(mph * kKnotsPerMph + 0.5);
}

// Hundredths of an inch to tenths of a millimetre.
int32_t HundredthsInchToTenthsMm(int32_t value) {
    return WholePart(value * 0.01 * 254 + 0.5);
}

// Inches to tenths of a millimetre.
int32_t InchesToTenthsMm(int32_t value) {
    return WholePart(value * 254.0 + 0.5);
}

// Degrees Fahrenheit to tenths of a degree Celsius, rounded half away from zero on both
// sides of zero ("t-14" stores -256, "t078" 256).
int32_t FahrenheitToTenthsC(int32_t fahrenheit) {
    return static_cast<int32_t>(std::lround((fahrenheit - 32) * 50 / 9.0));
}

// Tenths of a km/h to whole knots, rounded: 1.2 km/h is 0.65 kn, so 1.
int32_t TenthsKmhToKnots(int32_t value) {
    return static_cast<int32_t>(std::lround(value / 10.0 / kKmPerMile * kKnotsPerMph));
}

int32_t UltimeterDirection(int32_t value) {
    return (value % 256) * 360 / 255;
}

// Tenths of a degree Fahrenheit, a signed 16-bit count (below 0 F the station sends the
// two's complement, "FFEA" being -2.2 F), to tenths of a degree Celsius.
int32_t UltimeterTemperature(int32_t value) {
    if (value < 0)
        return -1000;
    const int32_t tenthsF = value >= 0x8000 ? value - 0x10000 : value;
    const auto tenthsC = static_cast<int32_t>(std::lround((tenthsF - 320) * 5 / 9.0));
    return tenthsC == -1000 ? -1001 : tenthsC;
}

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : (value > high ? high : value);
}

// The length of the value after a field letter; 0 when the letter ends the fields.
size_t FieldLength(char letter) {
    switch (letter) {
        case 'c':
        case 'g':
        case 'l':
        case 'L':
        case 'p':
        case 'P':
        case 'r':
        case 's':
        case 't':
        case '.':
            return 3;
        case 'h':
            return 2;
        case 'b':
            return 5;
        default:
            return 0;
    }
}

// Stores one field unless its slot is already filled. Returns false when the slot was
// filled before, which ends the fields.
bool StoreField(WeatherValues& v, char letter, int32_t value, bool& windSpeedFieldSeen) {
    // Only a temperature can be below zero; a negative count of anything else is noise and
    // leaves the slot unset.
    if (value < 0 && letter != 't') {
        if (letter == 's')
            windSpeedFieldSeen = true;
        return true;
    }
    auto fill = [](int32_t& slot, int32_t unset, int32_t converted) {
        if (slot != unset)
            return false;
        slot = converted;
        return true;
    };
    switch (letter) {
        case 'c':
            return fill(v.windDirection, -1, value);
        case 's':
            // The first "s" is the wind speed in mph, a later one snowfall in inches. A
            // wind speed handed in with the position makes every "s" snowfall.
            if (!windSpeedFieldSeen && v.windSpeed == -1) {
                windSpeedFieldSeen = true;
                return fill(v.windSpeed, -1, MphToKnots(value));
            }
            windSpeedFieldSeen = true;
            return fill(v.snow[1], -1, InchesToTenthsMm(value));
        case 'g':
            return fill(v.windGust, -1, MphToKnots(value));
        case 't':
            return fill(v.temperature, -1000, FahrenheitToTenthsC(value));
        case 'r':
            return fill(v.rainLastHour, -1, HundredthsInchToTenthsMm(value));
        case 'p':
            return fill(v.rainLast24Hours, -1, HundredthsInchToTenthsMm(value));
        case 'P':
            return fill(v.rainSinceMidnight, -1, HundredthsInchToTenthsMm(value));
        case 'h':
            return fill(v.humidity, -1, value == 0 ? 1000 : value * 10);
        case 'b':
            return fill(v.barometer, -1, value);
        case 'L':
            return fill(v.luminosity, -1, value);
        case 'l':
            return fill(v.luminosity, -1, value + 1000);
        default:  // "." holds a place and stores nothing
            return true;
    }
}

// Month, day, hour and minute of "day of year" (1 = 1 January) and "minute of day" in the
// current local year; left unset when either is missing or out of range.
void SetDayOfYear(WeatherValues& v, int32_t dayOfYear, int32_t minuteOfDay,
                  const CDateTime& localNow) {
    if (dayOfYear < 1 || dayOfYear > 366 || minuteOfDay < 0 || minuteOfDay >= 24 * 60)
        return;
    const int year = localNow.Year();
    if (year < 100)  // no usable clock
        return;
    const CDateTime start(year, 1, 1, 0, 0, 0);
    if (!start.IsValid())
        return;
    const CDateTime when = start + CDateTimeSpan(dayOfYear - 1, 0, minuteOfDay, 0);
    if (!when.IsValid() || when.Month() < 0)
        return;
    v.month = when.Month();
    v.day = when.Day();
    v.hour = when.Hour();
    v.minute = when.Minute();
}

// Where the four-digit hex fields of an Ultimeter record start; -1 for a field it lacks.
struct UltimeterLayout {
    int wind, gust, direction, temperature, rainToday, pressure, humidity, dayOfYear, minuteOfDay;
};

// "$ULTW" record: fields counted from the "$"; the average wind is the wind, the peak the gust.
// The long-term rain total (position 17) has no slot; today's total goes to "since midnight".
// e.g. $ULTW0053002D028D02FA2813000D87BD000103E8015703430010000C
constexpr UltimeterLayout kUltimeterPacket{53, 5, 9, 13, 49, 21, 37, 41, 45};
// "!!" logging record: fields from position 2, no gust; the long-term rain total at 14.
// e.g. !!00000066013D000028710166--------0158053201200210
constexpr UltimeterLayout kUltimeterLogging{2, -1, 6, 10, 42, 18, 26, 34, 38};

void DecodeUltimeterRecord(ReportWriter& out, std::string_view name, std::string_view text,
                           const UltimeterLayout& layout) {
    const auto field = [&](int position) { return position < 0 ? -1 : HexField(text, position); };
    WeatherValues v;
    const int32_t wind = field(layout.wind);
    const int32_t gust = field(layout.gust);
    const int32_t direction = field(layout.direction);
    const int32_t rain = field(layout.rainToday);
    if (wind >= 0)
        v.windSpeed = TenthsKmhToKnots(wind);
    if (gust >= 0)
        v.windGust = TenthsKmhToKnots(gust);
    if (direction >= 0)
        v.windDirection = UltimeterDirection(direction);
    v.temperature = UltimeterTemperature(field(layout.temperature));
    // Hundredths of an inch to the store's tenths of a mm.
    if (rain >= 0)
        v.rainSinceMidnight = HundredthsInchToTenthsMm(rain);
    v.barometer = field(layout.pressure);
    v.humidity = field(layout.humidity);
    SetDayOfYear(v, field(layout.dayOfYear), field(layout.minuteOfDay), out.localNow());
    out.StoreWeather(name, "", v);
}

// U-II records: "#" carries the wind in km/h, "*" in mph.
// e.g. #5103E: direction 5 x 22.5, wind 0x10, temperature 0x3E - 56 in degrees F
void DecodeUltimeterII(ReportWriter& out, std::string_view name, std::string_view text) {
    WeatherValues v;
    const HexNumber direction = ParseHex(text, 1, 1);
    if (direction.digits == 1)
        v.windDirection = WholePart((direction.value % 16) * 22.5);
    const HexNumber wind = ParseHex(text, 2, 2);
    if (wind.digits == 2) {
        v.windSpeed = text[0] == '#' ? WholePart(wind.value / kKmPerMile * kKnotsPerMph)
                                     : WholePart(wind.value * kKnotsPerMph);
    }
    const HexNumber temperature = ParseHex(text, 4, 2);
    if (temperature.digits == 2) {
        v.temperature = (static_cast<int32_t>(temperature.value) - 56) * 5 / 9 * 10;
    }
    out.StoreWeather(name, "", v);
}

}  // namespace

void DecodeWeather(ReportWriter& out, std::string_view name, std::string_view destination,
                   std::string_view path, std::string_view text, int windDirection, int windSpeed) {
    WeatherValues v;
    v.windDirection = windDirection;
    v.windSpeed = windSpeed;
    size_t pos = 0;

    // Positionless: "_" and month, day, hour, minute as two digits each.
    // e.g. _10090556c220s004g005t077r000p000P000h50b09900wRSW
    if (!text.empty() && text[0] == '_') {
        bool timeOk = text.size() >= 17;
        int32_t parts[4] = {};
        for (size_t i = 0; i < 4 && timeOk; ++i) {
            const size_t at = 1 + 2 * i;
            const char a = text[at];
            const char b = text[at + 1];
            timeOk = a >= '0' && a <= '9' && b >= '0' && b <= '9';
            parts[i] = (a - '0') * 10 + (b - '0');
        }
        if (!timeOk) {
            out.SetDeviceAndPath(name, destination, path, text);
            return;
        }
        v.month = Clamp(parts[0], 1, 12);
        v.day = Clamp(parts[1], 1, 31);
        v.hour = Clamp(parts[2], 0, 23);
        v.minute = Clamp(parts[3], 0, 59);
        pos = 9;
    }

    // Field loop: a letter, then a value of fixed length; "..." or blanks hold the place of a
    // field that was not measured. Any letter outside the table, or a field seen twice,
    // ends the fields and starts the comment (normally the software letter and unit code).
    bool windSpeedFieldSeen = false;
    while (pos < text.size()) {
        const char letter = text[pos];
        const size_t length = FieldLength(letter);
        if (length == 0)
            break;
        const Number n = ParseDecimal(text, pos + 1, length);
        if (n.read && !StoreField(v, letter, n.value, windSpeedFieldSeen))
            break;
        if (!n.read && letter == 's')
            windSpeedFieldSeen = true;
        pos += 1 + length;
    }
    const std::string_view comment = pos < text.size() ? text.substr(pos) : std::string_view();
    out.StoreWeather(name, comment, v);
}

void DecodePeetWeather(ReportWriter& out, std::string_view name, std::string_view destination,
                       std::string_view path, std::string_view text) {
    if (text.starts_with("$ULTW")) {
        DecodeUltimeterRecord(out, name, text, kUltimeterPacket);
    } else if (text.starts_with("!!")) {
        DecodeUltimeterRecord(out, name, text, kUltimeterLogging);
    } else if (!text.empty() && (text[0] == '#' || text[0] == '*')) {
        DecodeUltimeterII(out, name, text);
    } else {
        out.SetDeviceAndPath(name, destination, path, text);
    }
}

}  // namespace plovane::aprs
