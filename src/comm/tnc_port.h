// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port of a terminal node controller in text (command/converse) mode: its
// settings, the sequences that put the TNC into monitor and converse mode after the port
// opens and take it back out before it closes, and the model's TNC command file.
#pragma once

#include <optional>
#include <string>

#include "comm/serial_port.h"
#include "core/comm_settings.h"
#include "core/station_settings.h"

namespace plovane {

// Thread-safe as a serial port; the Send operations run on the user-interface thread.
class CTncPort final : public CSerialPort {
  public:
    CTncPort(ThreadPoster& poster, NoticeSink& notices);

    // A copy of the own call, alias, destination and path for the standard commands; the
    // application hands a new one after every station setup.
    void SetStationSettings(const CStationSettings& settings) { stationSettings_ = settings; }

    // The port parameters and the command file of the TNC settings; a KISS TNC is driven
    // by the KISS port and this one stays closed. Set while closed.
    void SetSettings(const CTncSettings& settings);
    const std::string& commandFile() const { return commandFile_; }
    void SetCommandFile(std::string path) { commandFile_ = std::move(path); }

    // Opening sequence: KISS exit, CTRL-C to reach the command prompt, the [INIT] section,
    // then MON ON, MYCALL, MYALIAS, UNPROTO and CONV.
    void SendWakeUp() override;
    void SendInitFile() override;
    void SendInitCommands() override;
    // Closing sequence: CTRL-C back to command mode, the [RESTORE] section, MON OFF.
    void SendBreak() override;
    void SendRestoreFile() override;
    void SendMonitorOff() override;

    // After the station setup: the new call, alias and path reach the TNC without a reopen.
    void SendStationSetup();
    // Asks a TNC with a GPS attached for its position (CTRL-E).
    void SendGpsRequest();

  private:
    std::optional<CStationSettings> stationSettings_;  // none: no standard commands
    std::string commandFile_;
};

}  // namespace plovane
