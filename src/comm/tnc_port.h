// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port of a terminal node controller in text (command/converse) mode: its
// settings, the sequences that put the TNC into monitor and converse mode after the port
// opens and take it back out before it closes, and the model's TNC command file.
#pragma once

#include <optional>
#include <string>

#include "comm/serial_port.h"
#include "core/profile.h"
#include "core/station_settings.h"

namespace plovane {

// How the program talks to the TNC.
enum TncMode : int32_t {
    kTncText = 0,        // command/converse mode on a serial port
    kTncKissSerial = 1,  // KISS frames on the same serial port
    kTncKissTcp = 2,     // KISS frames over a TCP connection (a software TNC)
};

// Thread-compatible: loaded and saved on the user-interface thread.
struct CTncSettings {
    static constexpr const char* kSection = "Comm";

    bool enabled = false;
    int32_t mode = kTncText;
    int32_t baudRate = 9600;
    std::string port = "COM1:";
    int32_t dataBits = 8;
    std::string parity = "N";    // "None", "Odd", "Even", "Mark" or "Space"
    std::string stopBits = "1";  // "1", "1.5" or "2"
    std::string tncCommandFile;  // full path of the model's command file; empty for none
    std::string kissHost = "localhost";
    std::string kissPort = "8001";
    int32_t kissChannel = 0;  // the TNC port our frames go out on (0-15)
    // KISS parameters sent on open; -1 leaves the TNC's own value.
    int32_t kissTxDelay = -1;      // 10 ms units
    int32_t kissPersistence = -1;  // 0-255
    int32_t kissSlotTime = -1;     // 10 ms units
    int32_t kissFullDuplex = -1;   // 0 or 1

    bool IsKiss() const { return mode == kTncKissSerial || mode == kTncKissTcp; }

    void Load(const Profile& profile);
    void Save(Profile& profile) const;
};

// Thread-safe as a serial port; the Send operations run on the user-interface thread.
class CTncPort final : public CSerialPort {
  public:
    CTncPort(ThreadPoster& poster, NoticeSink& notices);

    void SetSettings(CTncSettings* settings) { settings_ = settings; }
    // A copy of the own call, alias, destination and path for the standard commands; the
    // application hands a new one after every station setup.
    void SetStationSettings(const CStationSettings& settings) { stationSettings_ = settings; }

    // Reads the TNC keys into the settings and the port parameters.
    void LoadSettings(const Profile& profile) override;
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
    CTncSettings* settings_ = nullptr;
    std::optional<CStationSettings> stationSettings_;  // none: no standard commands
    std::string commandFile_;
};

}  // namespace plovane
