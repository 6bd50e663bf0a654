// SPDX-License-Identifier: GPL-3.0-or-later
// The station's IGate and digipeater on the road: every line the intake applies is handed to
// Heard, and what the relay logic answers goes out through two small functions, one that sends
// a line to APRS-IS and one that sends a monitor line on a radio port. Lines from files and log
// replays are never gated or relayed.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "core/line_queue.h"
#include "relay/digipeater.h"
#include "relay/igate.h"
#include "relay/relay_settings.h"

namespace plovane {

// Thread-safe: Heard runs on the intake thread, the setters and the status on the
// user-interface thread; one mutex guards the relay logic. The send functions are called
// under it and must not call back.
class CRelayStation {
  public:
    // Queues one line (no line end) for APRS-IS.
    using InternetSend = std::function<void(const std::string& line)>;
    // Queues a monitor line on a radio port; false when that port cannot send it.
    using RadioSend = std::function<bool(int port, const std::string& monitorLine)>;
    using SteadyNow = std::function<RelayTime()>;

    CRelayStation(
        InternetSend toInternet, RadioSend toRadio,
        SteadyNow now = [] { return std::chrono::steady_clock::now(); });

    // New settings (the dialog's OK, or start-up): the relay logic starts again with them.
    void Apply(const IGateSettings& igate, const DigipeaterSettings& digipeater,
               const std::string& myCall, const std::string& tocall);
    // The radio ports that carry packets gated from APRS-IS, and those that digipeat.
    void SetRadioPorts(std::set<int> igatePorts, std::set<int> digipeaterPorts);

    // A line the intake applied.
    void Heard(const HeardLine& line);

    // For the APRS-IS icon's tooltip: the IGate's state and counts; empty while it is off.
    std::string InternetStatus() const;
    // For the TNC icon's tooltip: packets digipeated and gated to the radio; empty while
    // both are off.
    std::string RadioStatus() const;
    IGateCounts igateCounts() const;
    uint64_t digipeated() const;
    size_t Remembered() const;

  private:
    void HeardOnRadio(int port, const std::string& line, RelayTime now);
    void HeardOnInternet(const std::string& line, RelayTime now);

    InternetSend toInternet_;
    RadioSend toRadio_;
    SteadyNow now_;
    mutable std::mutex mutex_;
    std::optional<IGate> igate_;  // guarded by mutex_, like everything below
    std::optional<Digipeater> digipeater_;
    IGateSettings igateSettings_;
    DigipeaterSettings digipeaterSettings_;
    std::string igateCall_;
    std::string igateTocall_;
    std::string digipeaterCall_;
    bool loginVerified_ = false;
    std::set<int> igatePorts_;
    std::set<int> digipeaterPorts_;
    uint64_t radioRefused_ = 0;  // relayed lines a radio port could not send
};

}  // namespace plovane
