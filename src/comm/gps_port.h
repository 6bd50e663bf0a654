// SPDX-License-Identifier: GPL-3.0-or-later
// The GPS receiver: its settings, its serial port (nothing is ever sent to it), and the
// NMEA intake through which every sentence reaches the station store, whether it comes from
// this port, from the TNC's monitor stream, or inside another station's packet.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "comm/serial_port.h"
#include "core/profile.h"

namespace plovane {

class CStationList;

// Where the own position comes from.
enum GpsSource : int32_t {
    kGpsFromTncMonitor = 0,  // sentences appear in the TNC's monitor stream
    kGpsFromTncPolled = 1,   // the TNC is asked with CTRL-E every 25 s
    kGpsSerialPort = 2,      // a receiver on its own serial port
    kGpsGpsd = 3,            // the gpsd daemon over TCP
};

// Thread-compatible: loaded and saved on the user-interface thread.
struct CGpsSettings {
    static constexpr const char* kSection = "Comm";

    bool enabled = false;
    int32_t source = kGpsFromTncMonitor;
    std::string port = "COM1:";
    int32_t baudRate = 4800;
    int32_t dataBits = 8;
    std::string parity = "N";
    std::string stopBits = "1";
    std::string gpsdHost = "localhost";
    std::string gpsdPort = "2947";

    void Load(const Profile& profile);
    void Save(Profile& profile) const;
};

// Applies one NMEA line to the station store: the position (when there is a fix) with its
// altitude and time, then course and speed (RMC, VTG). target "" means the own station. A
// line that is not a sentence we take goes to SetDeviceAndPath unless handOn is set.
void ApplySentence(CStationList& stations, std::string_view target, std::string_view destination,
                   std::string_view path, std::string_view line, bool handOn);

struct NmeaReport;
// Applies what one fix says (position, altitude, time, course, speed) to a station record;
// target "" means the own station.
void ApplyNmeaReport(CStationList& stations, std::string_view target, const NmeaReport& report);

// Thread-safe as a serial port; ParseSentence, TakeTncLine and GpsFromTnc may run on any
// decoding thread (the store locks itself; the source flag is atomic). Sentences inside
// packets come through ParseSentence, the TNC's own lines through TakeTncLine and the
// receiver's through ProcessInput.
class CGpsPort final : public CSerialPort {
  public:
    CGpsPort(ThreadPoster& poster, NoticeSink& notices);

    void SetSettings(CGpsSettings* settings) { settings_ = settings; }
    // The store the sentences update; set before any line is decoded.
    void SetStations(CStationList* stations) { stations_ = stations; }

    // Reads the GPS keys; the port is enabled only for a receiver on its own port.
    void LoadSettings(const Profile& profile) override;

    // Cuts the complete sentences out of the port's receive buffer and applies each to the
    // own record. The port's read thread runs it whenever a line end arrives: the
    // receiver's sentences go straight to the NMEA parser, never through the decoder.
    void ProcessInput();

    // A sentence sent as `target`'s position report, or (handOn) the own receiver's.
    void ParseSentence(std::string_view target, std::string_view destination, std::string_view path,
                       std::string_view line, bool handOn);
    // One line of the TNC's monitor stream: a line starting with "$" is the own receiver's
    // sentence when GPS data comes through the TNC, and is applied to the own record.
    void TakeTncLine(std::string_view line);
    // True when GPS is enabled with the data coming through the TNC.
    bool GpsFromTnc() const { return gpsFromTnc_.load(); }

  private:
    CGpsSettings* settings_ = nullptr;
    CStationList* stations_ = nullptr;
    std::atomic<bool> gpsFromTnc_{false};
};

}  // namespace plovane
