// SPDX-License-Identifier: GPL-3.0-or-later
// gpsd as the GPS source: one TCP connection to the daemon, asked to WATCH in JSON; every TPV
// report with a 2D or 3D fix goes on the road (LineKind::kGpsd) and there sets the own position,
// course, speed and altitude as a serial receiver's sentences would (ApplyOwnFix). The link is
// made again after gpsd restarts.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "comm/nmea_parser.h"
#include "comm/open_result.h"
#include "comm/port_thread.h"
#include "core/line_queue.h"
#include "core/sinks.h"

namespace plovane {

// One gpsd JSON report. True for a TPV with mode 2 or 3 and a latitude and longitude; the
// report then holds what a serial fix would (minutes to two decimals, speed in whole knots,
// course in whole degrees, altitude in decimetres when given, UTC time "HHMMSSh").
bool ParseGpsdReport(std::string_view json, NmeaReport& report);

// The WATCH command sent after every connection.
inline constexpr std::string_view kGpsdWatch = "?WATCH={\"enable\":true,\"json\":true}\n";

// Thread-safe: Open and Close belong to the user-interface thread; IsOpen and HasError may be
// read from any thread. Reports are read on the port's thread and put on the road.
class CGpsdPort {
  public:
    static constexpr size_t kMaxLineBytes = 16384;  // gpsd's longest report is far shorter

    explicit CGpsdPort(ThreadPoster& poster) : poster_(poster) {}
    ~CGpsdPort() { link_.Stop(); }
    CGpsdPort(const CGpsdPort&) = delete;
    CGpsdPort& operator=(const CGpsdPort&) = delete;

    // Where the reports holding a fix go; set before Open.
    void SetLineSink(const LineSink& sink) { sink_ = sink; }
    void SetTimings(const PortTimings& timings) { timings_ = timings; }

    // Connects to gpsd at host:port in the background; fails at once for a missing host or
    // a port that is not 1-65535.
    OpenResult Open(const std::string& host, const std::string& port);
    void Close();

    bool IsOpen() const { return link_.IsOpen(); }
    // Running, the link not up yet (pending) or lost and being retried (error).
    bool IsPending() const { return Down() && link_.LastError().empty(); }
    bool HasError() const { return Down() && !link_.LastError().empty(); }
    // Reports holding a fix put on the road so far.
    size_t fixesSent() const { return fixes_.load(); }

  private:
    bool Down() const { return link_.IsRunning() && !link_.IsOpen(); }
    void Received(const uint8_t* data, size_t length);

    ThreadPoster& poster_;
    LineSink sink_;
    PortTimings timings_;
    std::string line_;       // port thread only: the unfinished report
    bool skipping_ = false;  // port thread only: the rest of an overlong line
    std::atomic<size_t> fixes_{0};
    CPortThread link_;
};

}  // namespace plovane
