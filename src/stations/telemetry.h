// SPDX-License-Identifier: GPL-3.0-or-later
// A station's telemetry: the last values it sent and the names, units, equations and bit
// senses it defined for them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/station_report.h"

namespace plovane {

struct CTelemetry {
    static constexpr size_t kChannels = 13;  // five analog, then eight digital
    static constexpr size_t kDigital = 8;

    bool hasValues = false;
    TelemetryValues values;
    CDateTime received;  // local time the values were stored
    // "PARM." and "UNIT.": per channel, empty when not defined.
    std::array<std::string, kChannels> names;
    std::array<std::string, kChannels> units;
    // "EQNS.": value = a x^2 + b x + c per analog channel; identity until defined.
    std::array<std::array<double, 3>, TelemetryValues::kAnalogChannels> equations{
        {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}}};
    // "BITS.": the state of each digital channel that counts as "on", and the project title.
    std::array<bool, kDigital> bitSense{true, true, true, true, true, true, true, true};
    std::string project;

    // Takes in a "PARM.", "UNIT.", "EQNS." or "BITS." message text; false when it is none.
    // A field that is not a number leaves its equation coefficient as it was.
    bool ApplyDefinition(std::string_view text);
    // Analog channel `i` (0..4) with its equation applied; the channel must be present.
    double Scaled(size_t i) const;
    // Digital channel `i` (0..7) is "on" (its bit equals its sense); the bits must be present.
    bool BitOn(size_t i) const;
};

}  // namespace plovane
