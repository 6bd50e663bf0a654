// SPDX-License-Identifier: GPL-3.0-or-later
// Position reports with their optional time stamp, in the uncompressed "DDMM.mmN/DDDMM.mmW"
// form and the base-91 compressed form. Objects and items arrive here too, under their own
// name, with the information text starting at their live/killed flag.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "aprs/decoders.h"
#include "core/latin1.h"

namespace plovane::aprs {
namespace {

using latin1::IsDigit;
using latin1::ToLower;
using latin1::ToUpper;

using latin1::U;

bool IsCompressedStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'j') || c == '/' || c == '\\';
}

bool IsUncompressedCoordinateChar(unsigned char c) {
    return IsDigit(c) || c == '.' || c == ' ';
}

// Writes `degrees` (>= 0) as "DDMM.mm" (latitude, 2 degree digits) or "DDDMM.mm"
// (longitude, 3), rounded to the nearest hundredth of a minute, then the hemisphere.
void WriteCoordinate(double degrees, int degreeDigits, char hemisphere, char* out) {
    const long long hundredths = std::llround(degrees * 6000.0);  // of a minute
    long long whole = hundredths / 6000;
    const long long minutes = hundredths % 6000 / 100;
    const long long fraction = hundredths % 100;
    for (int i = degreeDigits - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    }
    out += degreeDigits;
    out[0] = static_cast<char>('0' + minutes / 10);
    out[1] = static_cast<char>('0' + minutes % 10);
    out[2] = '.';
    out[3] = static_cast<char>('0' + fraction / 10);
    out[4] = static_cast<char>('0' + fraction % 10);
    out[5] = hemisphere;
}

// A base-91 digit; bytes below "!" give negative values, which the range checks catch.
int Base91(char c) {
    return static_cast<int>(U(c)) - 33;
}

bool IsBase91(char c) {
    return Base91(c) >= 0 && Base91(c) <= 90;
}

long Base91Number(std::string_view four) {
    return Base91(four[0]) * 753571L + Base91(four[1]) * 8281L + Base91(four[2]) * 91L +
           Base91(four[3]);
}

// "/5L!!<*e7>7P[": table, 4 latitude and 4 longitude digits, code, then c, s and T.
// Returns false when the text is not a usable compressed position.
bool DecodeCompressed(ReportWriter& out, std::string_view name, std::string_view destination,
                      std::string_view path, std::string_view time, std::string_view body) {
    if (body.size() < 11)
        return false;
    const double latitude = 90.0 - static_cast<double>(Base91Number(body.substr(1, 4))) / 380926.0;
    const double longitude =
        -180.0 + static_cast<double>(Base91Number(body.substr(5, 4))) / 190463.0;
    // Digits beyond the base-91 range can land off the globe; such a report is no position.
    if (!(latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 180.0)) {
        return false;
    }
    std::array<char, 8> latitudeText;
    std::array<char, 9> longitudeText;
    WriteCoordinate(std::fabs(latitude), 2, latitude < 0 ? 'S' : 'N', latitudeText.data());
    WriteCoordinate(std::fabs(longitude), 3, longitude < 0 ? 'W' : 'E', longitudeText.data());
    const std::string_view lat(latitudeText.data(), latitudeText.size());
    const std::string_view lon(longitudeText.data(), longitudeText.size());

    // Overlay letters "a".."j" stand for the digits "0".."9".
    char table = body[0];
    if (table >= 'a' && table <= 'j')
        table = static_cast<char>('0' + (table - 'a'));
    const std::array<char, 2> symbolText = {table, body[9]};
    const std::string_view symbol(symbolText.data(), symbolText.size());
    const std::string_view comment = body.size() > 13 ? body.substr(13) : std::string_view();

    const char c = body[10];
    // A report cut short after c, or with c/s outside the base-91 digits, carries no course,
    // speed or altitude: reading them would run past the text or give nonsense values.
    const bool hasCs = body.size() >= 13 && IsBase91(c) && IsBase91(body[11]);
    if (c == ' ' || !hasCs) {
        out.UpdatePosition(name, symbol, lat, lon, time, comment, -1);
        out.SetDeviceAndPath(name, destination, path, "");
        return true;
    }
    const int s = Base91(body[11]);
    const int compressionType = Base91(body[12]);
    if ((compressionType & 0x18) == 0x10) {
        // The fix came from a GGA sentence: c and s hold the altitude, 1.002^cs feet. With
        // c and s at most "{" the value stays below 16 million feet.
        const double feet = std::trunc(std::pow(1.002, Base91(c) * 91 + s));
        int32_t altitudeDm = static_cast<int32_t>(feet * 3.04801);
        if (altitudeDm == -1)
            altitudeDm = 0;
        out.UpdatePosition(name, symbol, lat, lon, time, comment, altitudeDm);
        out.SetDeviceAndPath(name, destination, path, "");
        return true;
    }
    if (c == '{') {  // the radio range, 2 x 1.08^s miles
        out.SetRange(name, 2.0 * std::pow(1.08, s));
        out.UpdatePosition(name, symbol, lat, lon, time, comment, -1);
        out.SetDeviceAndPath(name, destination, path, "");
        return true;
    }
    const int course = Base91(c) * 4;                             // 0..356 degrees
    const int speed = static_cast<int>(std::pow(1.08, s) - 1.0);  // knots, below 1017
    ApplyCourseSpeed(out, name, destination, path, symbol, lat, lon, time, course, speed, comment,
                     WindUnit::kKnots);
    return true;
}

// "4903.50N/07201.75W-Test": latitude, table, longitude, code, then the extensions.
bool DecodeUncompressed(ReportWriter& out, std::string_view name, std::string_view destination,
                        std::string_view path, std::string_view time, std::string_view body) {
    size_t p = 0;
    while (p < body.size() && IsUncompressedCoordinateChar(U(body[p])))
        ++p;
    if (p == body.size())
        return false;
    const unsigned char ns = ToUpper(U(body[p]));
    if (ns != 'N' && ns != 'S')
        return false;
    const std::string_view latitude = body.substr(0, p + 1);
    if (++p == body.size())
        return false;
    const char table = body[p++];

    const size_t longitudeBegin = p;
    while (p < body.size() && IsUncompressedCoordinateChar(U(body[p])))
        ++p;
    if (p == body.size())
        return false;
    const unsigned char ew = ToUpper(U(body[p]));
    if (ew != 'E' && ew != 'W')
        return false;
    const std::string_view longitude = body.substr(longitudeBegin, p + 1 - longitudeBegin);
    if (++p == body.size())
        return false;
    const std::array<char, 2> symbolText = {table, body[p++]};

    DecodeExtensions(out, name, destination, path,
                     std::string_view(symbolText.data(), symbolText.size()), latitude, longitude,
                     time, body.substr(p));
    return true;
}

}  // namespace

void DecodePosition(ReportWriter& out, std::string_view name, std::string_view destination,
                    std::string_view path, std::string_view information, bool hasTime) {
    const auto notAPosition = [&] { out.SetDeviceAndPath(name, destination, path, information); };
    if (information.empty())
        return notAPosition();

    // "/", "@" and the object flags "*", "_" carry a time stamp: "092345z" (day, hour,
    // minute UTC), "092345/" (local) or "234517h" (hour, minute, second UTC).
    std::string_view time;
    std::string timeStorage;
    size_t start = 1;
    const char type = information[0];
    if (hasTime && (type == '/' || type == '@' || type == '*' || type == '_')) {
        size_t p = 1;
        while (p < information.size() && IsDigit(U(information[p])))
            ++p;
        if (p == information.size())
            return notAPosition();
        const unsigned char indicator = ToLower(U(information[p]));
        if (indicator != 'h' && indicator != '/' && indicator != 'z')
            return notAPosition();
        if (U(information[p]) == indicator) {
            time = information.substr(1, p);
        } else {
            timeStorage.assign(information.substr(1, p - 1));
            timeStorage += static_cast<char>(indicator);
            time = timeStorage;
        }
        start = p + 1;
    }
    if (start >= information.size())
        return notAPosition();

    const std::string_view body = information.substr(start);
    const bool decoded = IsCompressedStart(U(body[0]))
                             ? DecodeCompressed(out, name, destination, path, time, body)
                             : DecodeUncompressed(out, name, destination, path, time, body);
    if (!decoded)
        notAPosition();
}

}  // namespace plovane::aprs
