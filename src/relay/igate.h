// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate: what the radio hears goes to APRS-IS with ",qAR,<our call>" appended (",qAO,"
// when we do not transmit), except what must stay on the radio; messages from APRS-IS for
// stations heard directly on a radio port (and not on APRS-IS) go out there as third-party
// packets, "}SRC>DST,TCPIP,<our call>*:...", with the next position of their sender, at most
// a set number per port and minute. It counts what it gated both ways.
// Thread-compatible: the intake's consumer calls it.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "relay/monitor_line.h"
#include "relay/recent.h"
#include "relay/relay_settings.h"

namespace plovane {

// A monitor line to send on a radio port.
struct RfTransmit {
    int port = 0;
    std::string line;
    bool operator==(const RfTransmit&) const = default;
};

struct IGateCounts {
    uint64_t toInternet = 0;
    uint64_t toRf = 0;             // messages and positions
    uint64_t heldByRateLimit = 0;  // would have gone to the radio but for the rate limit
};

class IGate {
  public:
    static constexpr std::chrono::seconds kDuplicateWindow{30};
    static constexpr std::chrono::minutes kHeardWindow{30};
    static constexpr std::chrono::minutes kPositionEvery{10};
    static constexpr size_t kMaxPackets = 4096;    // duplicates remembered per direction
    static constexpr size_t kMaxStations = 20000;  // stations remembered per table

    // `tocall` is the destination of our own packets (the third-party wrapper's).
    IGate(const IGateSettings& settings, std::string myCall, std::string tocall);

    // The APRS-IS server accepted our passcode ("# logresp ... verified").
    void SetLoginVerified(bool verified) { loginVerified_ = verified; }
    // The radio ports that may carry packets gated from APRS-IS.
    void SetTransmitPorts(std::set<int> ports) { transmitPorts_ = std::move(ports); }

    // A line heard on a radio port: the line for APRS-IS, or nothing.
    std::optional<std::string> HeardOnRf(int port, std::string_view line, RelayTime now);
    // A line from APRS-IS: what goes out on which radio port.
    std::vector<RfTransmit> HeardOnInternet(std::string_view line, RelayTime now);

    // Why nothing heard on the radio goes to APRS-IS; empty while it does.
    std::string NotGatingReason() const;
    // The status tooltip's line: the reason above, or what was gated both ways.
    std::string StatusText() const;
    const IGateCounts& counts() const { return counts_; }
    // Entries held in all tables (for the flood test: it must stay bounded).
    size_t Remembered() const;

  private:
    bool IsToRfOn() const;
    std::optional<RfTransmit> ToRf(int port, const MonitorLine& packet, RelayTime now);

    IGateSettings settings_;
    std::string myCall_;
    std::string tocall_;
    std::vector<std::string> rfPath_;
    bool rfPathValid_ = false;
    bool loginVerified_ = false;
    std::set<int> transmitPorts_;
    RecentPackets toInternetSent_{kDuplicateWindow, kMaxPackets};
    RecentPackets toRfSent_{kDuplicateWindow, kMaxPackets};
    HeardCalls heardDirect_{kHeardWindow, kMaxStations};  // with no digipeater used
    HeardCalls heardOnRf_{kHeardWindow, kMaxStations};    // any way on the radio
    HeardCalls heardOnInternet_{kHeardWindow, kMaxStations};
    HeardCalls positionOwed_{kHeardWindow, kMaxStations};  // senders of gated messages
    HeardCalls positionSent_{kPositionEvery, kMaxStations};
    RateLimit rateLimit_;
    IGateCounts counts_;
};

}  // namespace plovane
