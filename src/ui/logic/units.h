// SPDX-License-Identifier: GPL-3.0-or-later
// The units the station information pages show, by the own-station setting
// "UnitsOfMeasure": 0 statute, 1 nautical, 2 metric.
#pragma once

#include <cstdint>

#include "core/units.h"

namespace plovane {

struct DisplayUnits {
    const char* speedName;
    double speedFactor;  // from statute miles per hour
    const char* lengthName;
    double lengthFactor;  // from feet
};

// An out-of-range setting reads as statute.
const DisplayUnits& UnitsFor(int unitsOfMeasure);

// Knots to statute miles per hour, then to the chosen unit, truncated.
int64_t SpeedInUnits(double knots, int unitsOfMeasure);
// Feet to the chosen length unit, truncated.
int64_t LengthInUnits(double feet, int unitsOfMeasure);

// Truncation toward zero that forgives the last bit of a floating-point round trip:
// 36 knots to miles per hour and back is 35.99999999999999, shown as 36.
int64_t TruncateConverted(double value);

}  // namespace plovane
