// SPDX-License-Identifier: GPL-3.0-or-later
// Texts about places for the status bar, tooltips and Station Info: a position in degrees
// and minutes, its Maidenhead locator, the great-circle distance and bearing between two
// positions in the user's units, and the age of a report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace plovane {

// A position in the core's fixed-point units (core/geo.h).
struct GeoPoint {
    int32_t colatitude = 0;
    int32_t longitude = 0;
    bool operator==(const GeoPoint&) const = default;
};

// "47°36.35'N 122°19.95'W" (UTF-8); latitudes beyond the poles are clamped.
std::string LatLonText(const GeoPoint& p);

// The six-character Maidenhead locator ("CN87us"); empty off the globe.
std::string MaidenheadLocator(const GeoPoint& p);

struct DistanceBearing {
    double kilometres = 0;
    int bearing = 0;  // initial great-circle bearing from the first point, whole degrees 0..359
};
DistanceBearing DistanceAndBearing(const GeoPoint& from, const GeoPoint& to);

// "12.3 mi", "10.7 nmi", "19.8 km" by the "UnitsOfMeasure" setting (0, 1, 2); two decimals
// below 10, none from 1000 on.
std::string DistanceText(double kilometres, int unitsOfMeasure);
// "123° SE" (UTF-8), sixteen compass points.
std::string BearingText(int degrees);
// "12.3 mi at 123° SE".
std::string DistanceBearingText(const GeoPoint& from, const GeoPoint& to, int unitsOfMeasure);

// The pointer position for the status bar: position and locator, then the distance and
// bearing from the own station when it has a position.
std::string PointerStatusText(const GeoPoint& at, const std::optional<GeoPoint>& own,
                              int unitsOfMeasure);

// How old a report is: "just now", "42 s ago", "7 min ago", "3 h 05 min ago", "2 days ago";
// "-" for a negative age (a clock that went back).
std::string AgeText(int64_t seconds);

}  // namespace plovane
