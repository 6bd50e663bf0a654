// SPDX-License-Identifier: GPL-3.0-or-later
// Position, locator, distance, bearing and age texts.
#include "ui/logic/geo_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/geo.h"
#include "ui/logic/units.h"

namespace plovane {
namespace {

constexpr double kEarthRadiusKm = 6371.0088;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

double Latitude(const GeoPoint& p) {
    return std::clamp(LatitudeDegrees(p.colatitude), -90.0, 90.0);
}

// Longitude folded into -180..180.
double Longitude(const GeoPoint& p) {
    double lon = std::fmod(LongitudeDegrees(p.longitude) + 180.0, 360.0);
    if (lon < 0)
        lon += 360.0;
    return lon - 180.0;
}

std::string DegreesMinutes(double value, int degreeDigits, char positive, char negative) {
    const char hemisphere = value < 0 ? negative : positive;
    // Whole hundredths of a minute, so 59.999' never prints as 60.00'.
    const long hundredths = std::lround(std::fabs(value) * 6000.0);
    char text[48];
    std::snprintf(text, sizeof text, "%0*ld\u00b0%02ld.%02ld'%c", degreeDigits, hundredths / 6000,
                  hundredths / 100 % 60, hundredths % 100, hemisphere);
    return text;
}

}  // namespace

std::string LatLonText(const GeoPoint& p) {
    return DegreesMinutes(Latitude(p), 2, 'N', 'S') + " " +
           DegreesMinutes(Longitude(p), 3, 'E', 'W');
}

std::string MaidenheadLocator(const GeoPoint& p) {
    if (p.colatitude < 0 || p.colatitude > kMaxColatitude)
        return {};
    // Fields of 20 x 10 degrees, squares of 2 x 1, subsquares of 5 x 2.5 minutes.
    double lon = Longitude(p) + 180.0;
    double lat = Latitude(p) + 90.0;
    lon = std::clamp(lon, 0.0, 359.999999);
    lat = std::clamp(lat, 0.0, 179.999999);
    std::string text(6, ' ');
    text[0] = static_cast<char>('A' + static_cast<int>(lon / 20));
    text[1] = static_cast<char>('A' + static_cast<int>(lat / 10));
    text[2] = static_cast<char>('0' + static_cast<int>(std::fmod(lon, 20) / 2));
    text[3] = static_cast<char>('0' + static_cast<int>(std::fmod(lat, 10)));
    text[4] = static_cast<char>('a' + static_cast<int>(std::fmod(lon, 2) * 12));
    text[5] = static_cast<char>('a' + static_cast<int>(std::fmod(lat, 1) * 24));
    return text;
}

DistanceBearing DistanceAndBearing(const GeoPoint& from, const GeoPoint& to) {
    const double lat1 = Latitude(from) * kRadiansPerDegree;
    const double lat2 = Latitude(to) * kRadiansPerDegree;
    const double dLon = (Longitude(to) - Longitude(from)) * kRadiansPerDegree;
    const double dLat = lat2 - lat1;
    // Haversine: well-conditioned for the short distances a map mostly shows.
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    DistanceBearing result;
    result.kilometres = 2 * kEarthRadiusKm * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x =
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    const long degrees = std::lround(std::atan2(y, x) / kRadiansPerDegree);
    result.bearing = static_cast<int>(((degrees % 360) + 360) % 360);
    return result;
}

std::string DistanceText(double kilometres, int unitsOfMeasure) {
    static constexpr double kPerKm[] = {0.621371192, 0.539956803, 1.0};
    static constexpr const char* kName[] = {"mi", "nmi", "km"};
    const int u = unitsOfMeasure == kUnitsNautical || unitsOfMeasure == kUnitsMetric
                      ? unitsOfMeasure
                      : kUnitsStatute;
    const double value = std::max(kilometres, 0.0) * kPerKm[u];
    char text[48];
    std::snprintf(text, sizeof text,
                  value < 10     ? "%.2f %s"
                  : value < 1000 ? "%.1f %s"
                                 : "%.0f %s",
                  value, kName[u]);
    return text;
}

std::string BearingText(int degrees) {
    static constexpr const char* kPoints[] = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                              "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    degrees = ((degrees % 360) + 360) % 360;
    const int point = static_cast<int>(std::lround(degrees / 22.5)) % 16;
    return std::to_string(degrees) + "\u00b0 " + kPoints[point];
}

std::string DistanceBearingText(const GeoPoint& from, const GeoPoint& to, int unitsOfMeasure) {
    const DistanceBearing db = DistanceAndBearing(from, to);
    return DistanceText(db.kilometres, unitsOfMeasure) + " at " + BearingText(db.bearing);
}

std::string PointerStatusText(const GeoPoint& at, const std::optional<GeoPoint>& own,
                              int unitsOfMeasure) {
    std::string text = LatLonText(at) + "   " + MaidenheadLocator(at);
    if (own)
        text += "   " + DistanceBearingText(*own, at, unitsOfMeasure) + " from me";
    return text;
}

std::string AgeText(int64_t seconds) {
    if (seconds < 0)
        return "-";
    if (seconds < 5)
        return "just now";
    if (seconds < 60)
        return std::to_string(seconds) + " s ago";
    const int64_t minutes = seconds / 60;
    if (minutes < 60)
        return std::to_string(minutes) + " min ago";
    const int64_t hours = minutes / 60;
    if (hours < 48) {
        char text[48];
        std::snprintf(text, sizeof text, "%lld h %02lld min ago", static_cast<long long>(hours),
                      static_cast<long long>(minutes % 60));
        return text;
    }
    return std::to_string(hours / 24) + " days ago";
}

}  // namespace plovane
