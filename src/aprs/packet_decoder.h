// SPDX-License-Identifier: GPL-3.0-or-later
// The packet decoder: a function of the monitor line. It cleans the line, splits the header
// "SOURCE>DESTINATION,PATH:information", and hands each packet type to its decoder; the
// result is a DecodedPacket that the application applies to its stores.
#pragma once

#include <string_view>

#include "aprs/decoded_packet.h"
#include "core/date_time.h"

namespace plovane {

// Decodes one monitor line received at `localNow` (local time; UTC = local + biasMinutes).
// Packets from `myCall` are only marked as the own packet. Thread-safe: a pure function.
inline DecodedPacket Decode(std::string_view line, const CDateTime& localNow, int biasMinutes,
                            std::string_view myCall) {
    return DecodedPacket(line, localNow, biasMinutes, myCall);
}

}  // namespace plovane
