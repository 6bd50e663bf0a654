// SPDX-License-Identifier: GPL-3.0-or-later
// How far a station says it reaches: the range it gives ("RNG0050") or the usable range its
// power, antenna height and gain ("PHG5132") work out to.
#pragma once

#include <cmath>

#include "stations/station.h"

namespace plovane {

// Statute miles of the usable range of a station with the given PHG values: the square root
// of twice the height (feet) times the square root of the power (watts) over 10 times the
// gain ratio over 2.
inline double PhgRangeMiles(double powerWatts, double heightFeet, double gainDb) {
    const double gainRatio = std::pow(10.0, gainDb / 10.0);
    const double inner = (powerWatts / 10.0) * (gainRatio / 2.0);
    if (!(inner > 0.0) || !(heightFeet > 0.0))
        return 0.0;
    return std::sqrt(2.0 * heightFeet * std::sqrt(inner));
}

// The given range when the station gives one, else the PHG range; 0 when neither is known.
inline double RadioRangeMiles(const CStation& station) {
    if (station.hasRange && station.rangeMiles > 0.0)
        return station.rangeMiles;
    if (station.hasPhg)
        return PhgRangeMiles(station.phgPower, station.phgHeight, station.phgGain);
    return 0.0;
}

}  // namespace plovane
