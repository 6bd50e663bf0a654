// SPDX-License-Identifier: GPL-3.0-or-later
// The digipeater: decides whether a packet heard on a radio port is sent again there, and
// with which path. WIDEn-N hops are spent one at a time with our call inserted before them and
// marked used; a fill-in digipeater answers only a first hop WIDE1-1; our call and our
// aliases are answered too, our call even further on in the path (a preemptive hop).
// Thread-compatible: the intake's consumer calls it; one history of relayed packets per port.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "relay/monitor_line.h"
#include "relay/recent.h"
#include "relay/relay_settings.h"

namespace plovane {

class Digipeater {
  public:
    static constexpr std::chrono::seconds kDuplicateWindow{30};
    static constexpr size_t kMaxRemembered = 4096;  // packets per port within the window

    Digipeater(const DigipeaterSettings& settings, std::string myCall);

    // The monitor line to send on `port` again, or nothing.
    std::optional<std::string> HeardOnRf(int port, std::string_view line, RelayTime now);

    uint64_t relayed() const { return relayed_; }
    // Entries held in the duplicate histories (for the flood test: it must stay bounded).
    size_t Remembered() const;

  private:
    // Rewrites the path for relaying; false when the packet is not ours to relay.
    bool RewritePath(MonitorLine& packet) const;

    DigipeaterSettings settings_;
    std::string myCall_;
    std::vector<std::string> aliases_;
    std::map<int, RecentPackets> relayedPerPort_;
    uint64_t relayed_ = 0;
};

// WIDEn-N: n from 1 to 7 and N from 1 to n; false for anything else.
bool ParseWideHop(std::string_view hop, int& n, int& hopsLeft);

}  // namespace plovane
