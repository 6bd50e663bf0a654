// SPDX-License-Identifier: GPL-3.0-or-later
// The own station's units of measure ("UnitsOfMeasure": 0 statute, 1 nautical, 2 metric) and
// the factors from statute miles into them.
#pragma once

namespace plovane {

inline constexpr int kUnitsStatute = 0;
inline constexpr int kUnitsNautical = 1;
inline constexpr int kUnitsMetric = 2;

// Nautical miles (knots) per statute mile (mph), and kilometres per statute mile.
inline constexpr double kKnotsPerMph = 0.868993;
inline constexpr double kKmPerMile = 1.609347;

// Statute miles into the chosen unit; an out-of-range setting reads as statute.
constexpr double UnitsPerMile(int unitsOfMeasure) {
    return unitsOfMeasure == kUnitsNautical ? kKnotsPerMph
           : unitsOfMeasure == kUnitsMetric ? kKmPerMile
                                            : 1.0;
}

}  // namespace plovane
