// SPDX-License-Identifier: GPL-3.0-or-later
// When a position report becomes a new point of a station's track.
#pragma once

#include "core/date_time.h"
#include "stations/station.h"
#include "core/station_settings.h"

namespace plovane {

// The longest tracks the setup page offers: the own station's and every other station's.
inline constexpr int kMostOwnTrackPoints = 8000;
inline constexpr int kMostTrackPoints = 250;

// The track settings that apply to one station: the own station's or everyone else's.
struct TrackRules {
    bool on = false;
    bool timeRule = false;
    bool distanceRule = false;
    int timeSeconds = 0;        // a newer report time adds a point after this long
    double distance = 0.0;      // in the user's unit
    double unitsPerMile = 1.0;  // statute miles to the user's unit
    int maxPoints = 0;

    // Threshold indexes outside the tables are clamped to their ends.
    static TrackRules For(const CStationSettings& settings, bool ownStation);
};

// Statute miles between two positions (flat-earth approximation at their mean latitude).
double DistanceMiles(const TrackPoint& a, const TrackPoint& b);

// The seconds since 2000 a track point counts for a time heard (clamped to 32 bits; 0 for
// a time that is not valid).
int32_t TrackSeconds(const CDateTime& heard);

// Whether `next` is added to the station's track. `reportTime` is null when the report
// carried no time stamp.
bool TakesTrackPoint(const CStation& station, const TrackRules& rules, const TrackPoint& next,
                     const CDateTime* reportTime);

}  // namespace plovane
