// SPDX-License-Identifier: GPL-3.0-or-later
// The GPS receiver: its settings, its serial port (nothing is ever sent to it), and the
// NMEA intake through which every sentence reaches the station store, whether it comes from
// this port (by the road, as LineKind::kNmea lines), from the TNC's monitor stream, or inside
// another station's packet.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "comm/serial_port.h"
#include "core/comm_settings.h"

namespace plovane {

class CStationList;

// Applies one NMEA line to the station store: the position (when there is a fix) with its
// altitude and time, then course and speed (RMC, VTG). target "" means the own station. A
// line that is not a sentence we take goes to SetDeviceAndPath unless handOn is set.
void ApplySentence(CStationList& stations, std::string_view target, std::string_view destination,
                   std::string_view path, std::string_view line, bool handOn);

struct NmeaReport;
// Applies what one fix says (position, altitude, time, course, speed) to a station record;
// target "" means the own station.
void ApplyNmeaReport(CStationList& stations, std::string_view target, const NmeaReport& report);

struct HeardLine;
// Applies one line of the own receiver taken off the road (IsOwnFix): a sentence of the
// serial receiver or a gpsd report. The road's consumer calls it, so the store has one writer.
void ApplyOwnFix(CStationList& stations, const HeardLine& line);

// Thread-safe as a serial port; ParseSentence, TakeTncLine and GpsFromTnc run on the road's
// consumer (the source flag is atomic). Sentences inside packets come through ParseSentence,
// the TNC's own lines through TakeTncLine; the receiver's own lines go from the port's read
// thread to its line sink (origin kind kNmea), never through the decoder.
class CGpsPort final : public CSerialPort {
  public:
    CGpsPort(ThreadPoster& poster, NoticeSink& notices);

    // The store the sentences update; set before any line is decoded.
    void SetStations(CStationList* stations) { stations_ = stations; }

    // The port is enabled only for a receiver on its own port. Set while closed.
    void SetSettings(const CGpsSettings& settings);

    // A sentence sent as `target`'s position report, or (handOn) the own receiver's.
    void ParseSentence(std::string_view target, std::string_view destination, std::string_view path,
                       std::string_view line, bool handOn);
    // One line of the TNC's monitor stream: a line starting with "$" is the own receiver's
    // sentence when GPS data comes through the TNC, and is applied to the own record.
    void TakeTncLine(std::string_view line);
    // True when GPS is enabled with the data coming through the TNC.
    bool GpsFromTnc() const { return gpsFromTnc_.load(); }

  private:
    CStationList* stations_ = nullptr;
    std::atomic<bool> gpsFromTnc_{false};
};

}  // namespace plovane
