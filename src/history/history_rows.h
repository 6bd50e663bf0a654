// SPDX-License-Identifier: GPL-3.0-or-later
// What a decoded line adds to the history: its positions, weather, telemetry, telemetry
// definitions, status text and message, copied out of the packet.
#pragma once

#include <cstdint>
#include <string_view>

#include "aprs/decoded_packet.h"
#include "history/history_store.h"

namespace plovane {

// The rows of `packet`, heard at `utcHeard` as `line`. Our own packets heard back add
// nothing (the log has them). Thread-safe: a pure function.
HistoryRows HistoryRowsFrom(const DecodedPacket& packet, int64_t utcHeard, std::string_view line);

}  // namespace plovane
