// SPDX-License-Identifier: GPL-3.0-or-later
// The TNC ports beside the network: port 1 is the TNC the rest of the program has always
// known (its objects stay with the application), ports 2, 3 ... are made here from their
// settings. Each port feeds the road tagged with its id and has its own transmit choices:
// our beacons and messages go out on every port that allows them.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/log_replay.h"
#include "comm/kiss_port.h"
#include "comm/tnc_port.h"
#include "core/comm_settings.h"
#include "core/line_queue.h"
#include "core/output_port.h"
#include "core/station_settings.h"

namespace plovane {

// What a port may send.
enum class RfChoice { kBeacons, kMessages, kIGate, kDigipeater };

// How one port stands, for its status icon and tooltip.
struct RfPortState {
    int id = 0;
    bool enabled = false;
    bool open = false;
    bool pending = false;  // a KISS link still being made
    bool error = false;
    std::string text;  // "TNC port 2: KISS TCP localhost:8001, open"
};

// Thread-safe: Open, Close and the setters belong to the user-interface thread; the write
// paths, Allows and SendMonitorLine may be called from any thread (lock order: message store,
// then this list, then a port's queue).
class CRfPorts {
  public:
    CRfPorts(AppHost& host, const ReplayGate& gate, LineQueue& lines, const Clock& clock);
    ~CRfPorts();
    CRfPorts(const CRfPorts&) = delete;
    CRfPorts& operator=(const CRfPorts&) = delete;

    // Port 1: the application's own TNC objects and its logged write path.
    void SetFirstPort(CTncPort* tnc, CKissPort* kiss, OutputPort* out);
    void SetStationSettings(const CStationSettings& settings);
    void SetLog(CStationLog* log);

    // Takes the settings of every port (port 1 first, already opened by the caller) and
    // opens ports 2 ...; failures go to `report`.
    void OpenFurther(const std::vector<CTncSettings>& ports,
                     const std::function<void(const OpenResult&)>& report);
    // Closes and drops ports 2 ...
    void CloseFurther();

    int count() const;
    bool Allows(int portId, RfChoice choice) const;
    // Sends a whole monitor line on port N (a KISS port: any header; a text-mode TNC sends
    // only its own header, so it refuses). False when the port cannot send it.
    bool SendMonitorLine(int portId, std::string_view line);
    std::vector<RfPortState> States() const;

    // The write paths of the scheduler (beacons) and the message store (messages).
    OutputPort* beacons() { return &beacons_; }
    OutputPort* messages() { return &messages_; }

  private:
    struct Port;
    // Every port whose choice allows the text.
    class FanOut final : public OutputPort {
      public:
        FanOut(const CRfPorts& ports, RfChoice choice) : ports_(ports), choice_(choice) {}
        bool IsOpen() const override;
        bool TakesText() const override;
        void QueueText(const std::string& text, int delayBeforeMs, int delayAfterMs) override;

      private:
        const CRfPorts& ports_;
        const RfChoice choice_;
    };

    std::vector<OutputPort*> Outputs(RfChoice choice) const;

    AppHost& host_;
    const ReplayGate& gate_;
    LineQueue& lines_;
    const Clock& clock_;
    CStationSettings station_;
    CStationLog* log_ = nullptr;
    mutable std::mutex mutex_;  // guards the list (ports are swapped on the UI thread)
    std::vector<std::unique_ptr<Port>> ports_;
    FanOut beacons_{*this, RfChoice::kBeacons};
    FanOut messages_{*this, RfChoice::kMessages};
};

}  // namespace plovane
