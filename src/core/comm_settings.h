// SPDX-License-Identifier: GPL-3.0-or-later
// The settings records of the connections: a TNC, the GPS receiver and APRS-IS, each declared
// once as a table of fields (key, member, and how the Communications page edits it; the
// member's initializer is the default). The ports get copies of these values; only the
// application reads and writes the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/settings_table.h"

namespace plovane {

// How the program talks to the TNC.
enum TncMode : int32_t {
    kTncText = 0,        // command/converse mode on a serial port
    kTncKissSerial = 1,  // KISS frames on the same serial port
    kTncKissTcp = 2,     // KISS frames over a TCP connection (a software TNC)
};

// The "TNC &Mode:" list, TncMode order.
inline constexpr const char* kTncModeTexts[] = {
    "Text mode (command/converse)",
    "KISS (serial port)",
    "KISS over TCP",
};

// The serial line's lists.
inline constexpr std::array<int32_t, 13> kBaudRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200};
inline constexpr std::array<int32_t, 2> kDataBits = {7, 8};
inline constexpr std::array<const char*, 5> kParityNames = {"None", "Odd", "Even", "Mark", "Space"};
inline constexpr std::array<const char*, 3> kStopBitsNames = {"1", "1.5", "2"};

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
    // What goes out on this port. The first TNC sends beacons and messages, and relays for
    // the IGate and the digipeater once those are switched on (Setup > IGate and
    // Digipeater...), unless told not to; a port added later sends nothing until the user
    // says so.
    bool txBeacons = true;
    bool txMessages = true;
    bool igate = true;
    bool digipeater = true;

    static const std::span<const SettingField<CTncSettings>> kFields;

    bool IsKiss() const { return mode == kTncKissSerial || mode == kTncKissTcp; }

    // A mode the program does not know reads as text mode.
    void Load(const Profile& profile, const std::string& section = kSection);
    void Save(Profile& profile, const std::string& section = kSection) const;

    bool operator==(const CTncSettings&) const = default;
};

// The TNC ports, numbered from 1: the first keeps its keys in [Comm], port N in [TNCN].
// [Comm] TNCPorts holds how many there are (1 when missing).
std::string TncSection(int portId);
// The settings of every TNC port in port order; always at least the first.
std::vector<CTncSettings> LoadTncPorts(const Profile& profile);
// Writes every port to its section and the count; sections beyond the count are left as they
// are and no longer read.
void SaveTncPorts(Profile& profile, const std::vector<CTncSettings>& ports);
// A port the user adds: its transmit choices start off.
CTncSettings AddedTncPort();

// The GPS page's source buttons, GpsSource order.
inline constexpr const char* kGpsSourceTexts[] = {
    "Get GPS Data from TNC (&Automatic)",
    "Get GPS Data from TNC using CTRL-&E",
    "Get GPS Data from this &Serial Port: ->",
    "Get GPS Data &from gpsd:",
};

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

    static const std::span<const SettingField<CGpsSettings>> kFields;

    void Load(const Profile& profile);
    void Save(Profile& profile) const;

    bool operator==(const CGpsSettings&) const = default;
};

// Thread-compatible: loaded and saved on the user-interface thread; the network client
// takes a copy.
struct CNetSettings {
    static constexpr const char* kSection = "Comm";
    static constexpr const char* kDefaultHost = "rotate.aprs2.net";
    // The filtered port: a new station sees its own area, not the whole world's feed.
    static constexpr const char* kDefaultPort = "14580";

    bool enabled = false;
    bool autoReconnect = false;
    std::string hostAddress = kDefaultHost;  // a host name, an IPv4 or an IPv6 address
    std::string hostPort = kDefaultPort;     // decimal text
    // A server-side filter (e.g. "r/50.1/14.4/100" on port 14580); empty for none.
    std::string netFilter;

    static const std::span<const SettingField<CNetSettings>> kFields;

    // A key the file does not have takes its default; without a stored filter that is 100 km
    // round the typed-in own position ("r/LAT/LON/100"), or round the position the server
    // last heard from us ("m/100") while none is typed in. Stored values stay as they are.
    void Load(const Profile& profile);
    void Save(Profile& profile) const;

    bool operator==(const CNetSettings&) const = default;
};

// The APRS-IS range filter round a place in decimal degrees: "r/48.12/11.52/100" (km, at least 1).
std::string RangeFilter(double lat, double lon, int radiusKm);

}  // namespace plovane
