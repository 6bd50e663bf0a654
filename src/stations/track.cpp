// SPDX-License-Identifier: GPL-3.0-or-later
// Track rules.
#include "stations/track.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "core/units.h"

namespace plovane {
namespace {

constexpr int kTimeThresholds[] = {5, 10, 30, 60, 120, 300, 600, 900, 1800};  // seconds
constexpr double kDistanceThresholds[] = {0.01, 0.02, 0.05, 0.1, 0.25,
                                          0.5,  1.0,  2.5,  5.0, 10.0};  // user's unit
constexpr double kUnitsPerMile[] = {1.0, kKnotsPerMph, kKmPerMile};      // statute, nautical, km

template <typename T, size_t N>
T At(const T (&table)[N], int index) {
    return table[std::clamp(index, 0, static_cast<int>(N) - 1)];
}

constexpr double kMilesPerDegree = 69.4072;

}  // namespace

TrackRules TrackRules::For(const CStationSettings& s, bool ownStation) {
    TrackRules r;
    r.on = ownStation ? s.bMyTrack : s.bTrack;
    r.timeRule = ownStation ? s.bMyTrackTime : s.bTrackTime;
    r.distanceRule = ownStation ? s.bMyTrackDistance : s.bTrackDistance;
    r.timeSeconds = At(kTimeThresholds, ownStation ? s.MyTrackTime : s.TrackTime);
    r.distance = At(kDistanceThresholds, ownStation ? s.MyTrackDistance : s.TrackDistance);
    r.unitsPerMile = At(kUnitsPerMile, s.UnitsOfMeasure);
    // Capped at the most the setup page offers, so a damaged settings file cannot let every
    // track grow with each report.
    r.maxPoints = std::clamp(ownStation ? s.MyTrackMax : s.TrackMax, 0,
                             ownStation ? kMostOwnTrackPoints : kMostTrackPoints);
    return r;
}

double DistanceMiles(const TrackPoint& a, const TrackPoint& b) {
    const double dLat = (static_cast<double>(a.colatitude) - b.colatitude) / kUnitsPerDegree;
    const double dLon = (static_cast<double>(a.longitude) - b.longitude) / kUnitsPerDegree;
    const double meanColatitude =
        (static_cast<double>(a.colatitude) + b.colatitude) / 2.0 / kUnitsPerDegree;
    const double latitude = (90.0 - meanColatitude) * std::numbers::pi / 180.0;
    const double north = kMilesPerDegree * dLat;
    const double east = kMilesPerDegree * std::cos(latitude) * dLon;
    return std::sqrt(north * north + east * east);
}

bool TakesTrackPoint(const CStation& station, const TrackRules& rules, const TrackPoint& next,
                     const CDateTime* reportTime) {
    if (!rules.on)
        return false;
    if (station.track.empty())
        return true;
    if (!rules.timeRule && !rules.distanceRule)
        return true;
    if (rules.distanceRule &&
        DistanceMiles(next, station.track.front()) * rules.unitsPerMile >= rules.distance) {
        return true;
    }
    if (rules.timeRule) {
        if (!station.hasPosition)
            return true;
        // Only a report that carries its own time can age the track.
        if (reportTime != nullptr && station.trackTime.IsValid()) {
            return (*reportTime - station.trackTime).TotalSeconds() > rules.timeSeconds;
        }
    }
    return false;
}

int32_t TrackSeconds(const CDateTime& heard) {
    static const CDateTime kEpoch(2000, 1, 1, 0, 0, 0);
    if (!heard.IsValid())
        return 0;
    const int64_t seconds = (heard - kEpoch).TotalSeconds();
    return static_cast<int32_t>(std::clamp<int64_t>(seconds, INT32_MIN, INT32_MAX));
}

}  // namespace plovane
