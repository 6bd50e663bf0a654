// SPDX-License-Identifier: GPL-3.0-or-later
// What the output scheduler reads from the stores: the fields of a station record that a
// position or status packet is made of, and the message store's pending traffic. The
// application wires the stores to these interfaces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/geo.h"

namespace plovane {

// A copy of the record fields that a position or status report is formatted from.
struct PositionReportData {
    std::string call;
    bool hasPosition = false;
    int32_t colatitude = kEquatorColatitude;
    int32_t longitude = kGreenwichLongitude;
    bool moving = false;
    int16_t course = 0;  // degrees
    int16_t speed = 0;   // knots
    bool hasPhg = false;
    int16_t phgPower = 0;        // watts
    int16_t phgHeight = 0;       // feet
    int16_t phgGain = 0;         // dB
    int16_t phgDirectivity = 0;  // degrees
    char symbolTable = '/';
    char symbolCode = 'Z';
    int16_t ambiguity = 0;
    std::string comment;
    std::string lastInfo;  // for the own record: the status text
};

// Thread-safe: called from the output thread.
class StationSource {
  public:
    virtual ~StationSource() = default;
    // Copies the record with that call; false when there is none.
    virtual bool GetPositionReportData(std::string_view call, PositionReportData& out) const = 0;
    // The own record's call.
    virtual std::string OwnCall() const = 0;
};

// Thread-safe: the message store sends its due messages and acks.
class PendingSender {
  public:
    virtual ~PendingSender() = default;
    virtual void SendPending(std::string_view addresseeFilter) = 0;
};

}  // namespace plovane
