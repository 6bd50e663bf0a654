// SPDX-License-Identifier: GPL-3.0-or-later
// Unit tables and conversions of the station information pages.
#include "ui/logic/units.h"

#include <array>
#include <cmath>
#include <limits>

namespace plovane {
namespace {

constexpr std::array<DisplayUnits, 3> kUnits = {{
    {"mph", 1.0, "ft", 1.0},
    {"knots", kKnotsPerMph, "ft", 1.0},
    {"kph", kKmPerMile, "m", 0.304801},
}};

}  // namespace

const DisplayUnits& UnitsFor(int unitsOfMeasure) {
    if (unitsOfMeasure < 0 || unitsOfMeasure >= static_cast<int>(kUnits.size()))
        return kUnits[0];
    return kUnits[static_cast<size_t>(unitsOfMeasure)];
}

int64_t TruncateConverted(double value) {
    if (!std::isfinite(value))
        return 0;
    // A relative nudge of 1e-9 is far below any shown digit and far above the rounding of
    // two multiplications.
    const double nudged = value + value * 1e-9;
    constexpr double kLimit = 9.0e18;
    if (nudged >= kLimit || nudged <= -kLimit)
        return nudged > 0 ? std::numeric_limits<int64_t>::max()
                          : std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::trunc(nudged));
}

int64_t SpeedInUnits(double knots, int unitsOfMeasure) {
    return TruncateConverted(knots / kKnotsPerMph * UnitsFor(unitsOfMeasure).speedFactor);
}

int64_t LengthInUnits(double feet, int unitsOfMeasure) {
    return TruncateConverted(feet * UnitsFor(unitsOfMeasure).lengthFactor);
}

}  // namespace plovane
