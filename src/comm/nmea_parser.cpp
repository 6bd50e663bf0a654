// SPDX-License-Identifier: GPL-3.0-or-later
// The NMEA sentence parser.
#include "comm/nmea_parser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "core/latin1.h"

namespace plovane {
namespace {

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        fields.push_back(
            text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return fields;
}

// A whole number of hundredths of a minute as "DDMM.mmH" with degreeDigits digits of degrees.
std::string FormatHundredths(long hundredths, int degreeDigits, char hemisphere) {
    char text[64];
    std::snprintf(text, sizeof text, "%0*ld%02ld.%02ld%c", degreeDigits, hundredths / 6000,
                  (hundredths % 6000) / 100, hundredths % 100, hemisphere);
    return text;
}

// "4807.038" with four integer digits becomes "4807.04"; "807.5" becomes "0807.50"; an empty
// field becomes "0000.00". A field that is not plain digits (or has minutes past 59) is kept
// as written, cut to hundredths, for the store to judge.
std::string NormaliseCoordinate(std::string_view field, size_t integerDigits, char hemisphere) {
    const size_t point = std::min(field.find('.'), field.size());
    const std::string_view whole = field.substr(0, point);
    const std::string_view fraction = point < field.size() ? field.substr(point + 1) : "";
    const auto digitsOnly = [](std::string_view t) {
        return std::all_of(t.begin(), t.end(),
                           [](char c) { return latin1::IsDigit(static_cast<unsigned char>(c)); });
    };
    const bool plain = whole.size() <= integerDigits && digitsOnly(whole) && digitsOnly(fraction);
    long wholeValue = 0;  // read only when short enough to fit
    for (size_t i = 0; plain && i < whole.size(); ++i)
        wholeValue = wholeValue * 10 + (whole[i] - '0');
    if (plain && wholeValue % 100 < 60) {
        double minutes = static_cast<double>(wholeValue % 100);
        double unit = 0.1;
        for (size_t i = 0; i < fraction.size() && i < 12; ++i, unit /= 10)
            minutes += (fraction[i] - '0') * unit;
        const long hundredths = RoundNmeaValue((wholeValue / 100) * 6000.0 + minutes * 100.0);
        return FormatHundredths(hundredths, static_cast<int>(integerDigits) - 2, hemisphere);
    }
    std::string text(field);
    if (point >= text.size())
        text.push_back('.');
    text += "00";
    text.resize(point + 3);
    if (point < integerDigits)
        text.insert(0, integerDigits - point, '0');
    return text + hemisphere;
}

// A leading integer as "%ld" reads it (an optional sign, then digits), after cutting the text
// at its first ".". False without digits or beyond the range of int.
bool ReadWholeNumber(std::string_view field, long& value) {
    field = field.substr(0, field.find('.'));
    size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    long result = 0;
    size_t digits = 0;
    for (; i < field.size() && latin1::IsDigit(static_cast<unsigned char>(field[i])); ++i) {
        result = result * 10 + (field[i] - '0');
        if (result > std::numeric_limits<int>::max())
            return false;
        ++digits;
    }
    if (digits == 0)
        return false;
    value = negative ? -result : result;
    return true;
}

// GGA altitude: the metres with one decimal, read as tenths ("545.4" is 5454, "545" 5450).
int32_t ReadAltitude(std::string_view field, std::string_view unit) {
    if (field.empty() || unit.size() != 1 || (unit[0] != 'M' && unit[0] != 'm'))
        return -1;
    const size_t point = field.find('.');
    std::string tenths(field.substr(0, point));
    const bool hasDecimal = point != std::string_view::npos && point + 1 < field.size();
    tenths.push_back(hasDecimal ? field[point + 1] : '0');
    const size_t digits = tenths.starts_with('-') || tenths.starts_with('+') ? 1 : 0;
    long value = 0;
    if (tenths.find_first_not_of("0123456789", digits) != std::string::npos ||
        !ReadWholeNumber(tenths, value)) {
        return -1;
    }
    // -1 means unknown to the store; a tenth of a metre below sea level is as good as 0.
    return value == -1 ? 0 : static_cast<int32_t>(value);
}

// A speed or course: the leading whole number as ReadWholeNumber takes it, rounded by the
// decimals that follow it.
bool ReadRoundedNumber(std::string_view field, long& value) {
    long whole = 0;
    if (!ReadWholeNumber(field, whole))
        return false;
    const size_t point = field.find('.');
    double fraction = 0;
    if (point != std::string_view::npos && point > 0 &&
        latin1::IsDigit(static_cast<unsigned char>(field[point - 1]))) {
        double unit = 0.1;
        for (size_t i = point + 1;
             i < field.size() && i < point + 13 && latin1::IsDigit(static_cast<unsigned char>(field[i]));
             ++i, unit /= 10)
            fraction += (field[i] - '0') * unit;
    }
    const long rounded = RoundNmeaValue(static_cast<double>(std::labs(whole)) + fraction);
    if (rounded > std::numeric_limits<int>::max())
        return false;
    value = latin1::Trim(field).starts_with('-') ? -rounded : rounded;
    return true;
}

std::string_view Field(const std::vector<std::string_view>& fields, size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

}  // namespace

long RoundNmeaValue(double value, double step) {
    // The slack also absorbs the binary fraction of an exact decimal half (49.035' * 100).
    return static_cast<long>(std::floor(value + 0.5 + step / 2 + 1e-7));
}

std::string NmeaCoordinate(double degrees, int degreeDigits, char positive, char negative,
                           double step) {
    const long hundredths = RoundNmeaValue(std::fabs(degrees) * 6000.0, step * 6000.0);
    return FormatHundredths(hundredths, degreeDigits, degrees < 0 ? negative : positive);
}

std::string CleanNmeaLine(std::string_view line) {
    std::string out(line);
    for (char& c : out) {
        if (latin1::IsSpace(static_cast<unsigned char>(c)))
            c = ' ';
    }
    return std::string(latin1::Trim(out));
}

bool NmeaChecksumOk(std::string_view line) {
    const size_t star = line.rfind('*');
    if (star == std::string_view::npos)
        return false;
    const std::string_view digits = line.substr(star + 1);
    if (digits.empty() || digits.size() > 2)
        return false;
    int expected = 0;
    for (char c : digits) {
        const int v = latin1::HexDigit(c);
        if (v < 0)
            return false;
        expected = expected * 16 + v;
    }
    unsigned sum = 0;
    for (size_t i = 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    return static_cast<int>(sum) == expected;
}

bool ParseNmeaSentence(std::string_view line, NmeaReport& report) {
    report = NmeaReport();
    if (!NmeaChecksumOk(line) || line.size() < 7 || line[0] != '$' || line[6] != ',')
        return false;
    const std::string_view talker = line.substr(1, 2);
    const std::string_view type = line.substr(3, 3);
    if (talker != "GP" && talker != "GN")
        return false;
    const bool gga = type == "GGA", gll = type == "GLL", rmc = type == "RMC", vtg = type == "VTG";
    if (!gga && !gll && !rmc && !vtg)
        return false;

    // The fields, without the checksum.
    const std::string_view body = line.substr(7, line.rfind('*') - 7);
    const std::vector<std::string_view> fields = SplitFields(body);
    size_t next = 0;
    std::string_view timeField;

    if (gga || rmc)
        timeField = Field(fields, next++);
    if (rmc)
        ++next;  // the status letter; a void fix with filled fields still counts
    if (gga || gll || rmc) {
        const std::string_view lat = Field(fields, next++);
        const char north = Field(fields, next++).starts_with('N') ? 'N' : 'S';
        const std::string_view lon = Field(fields, next++);
        const char west = Field(fields, next++).starts_with('W') ? 'W' : 'E';
        report.latitude = NormaliseCoordinate(lat, 4, north);
        report.longitude = NormaliseCoordinate(lon, 5, west);
    }
    if (gll)
        timeField = Field(fields, next++);
    if (gga) {
        next += 3;  // fix quality, satellites, dilution
        const std::string_view altitude = Field(fields, next++);
        report.altitudeDm = ReadAltitude(altitude, Field(fields, next++));
    }
    if (gga || gll || rmc) {
        report.time = std::string(timeField.substr(0, 6)) + "h";
        report.hasPosition =
            !(report.latitude.starts_with("0000.00") && report.longitude.starts_with("00000.00"));
    }

    std::string_view speed, course;
    if (rmc) {
        speed = Field(fields, next++);
        course = Field(fields, next++);
    } else if (vtg) {
        course = Field(fields, 0);
        speed = Field(fields, 4);  // after "T", the magnetic course and "M"
    }
    long value = 0;
    if ((rmc || vtg) && ReadRoundedNumber(speed, value)) {
        report.hasSpeed = true;
        report.speedKnots = static_cast<int>(value);
    }
    if ((rmc || vtg) && ReadRoundedNumber(course, value)) {
        report.hasCourse = true;
        report.courseDegrees = static_cast<int>(value);
    }
    return true;
}

}  // namespace plovane
