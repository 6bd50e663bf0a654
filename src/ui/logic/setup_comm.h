// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of the "Setup Communications" sheet without their widgets: what the TNC, GPS and
// Net pages show for the stored settings, which controls are enabled, and what OK stores.
#pragma once

#include <string>
#include <vector>

#include "comm/gps_port.h"
#include "comm/net_settings.h"
#include "comm/tnc_port.h"
#include "ui/logic/setup_serial.h"

namespace plovane {

inline constexpr char kNoTncTypeText[] = "[None]";

// One TNC command file as the "TNC T&ype:" list offers it.
struct TncTypeChoice {
    std::string path;
    std::string name;
};

// "[None]" followed by the names in list order.
std::vector<std::string> TncTypeTexts(const std::vector<TncTypeChoice>& files);
// The list position of the file whose path equals `path` (index + 1), else 0 ("[None]").
int TncTypeIndexOf(const std::vector<TncTypeChoice>& files, const std::string& path);
// The path behind a list position; empty for "[None]" or a position outside the list.
std::string TncTypePathAt(const std::vector<TncTypeChoice>& files, int index);
// After "&Refresh TNC List": the position in `fresh` of the file chosen at `index` in
// `old`, else 0 ("[None]").
int TncTypeIndexAfterRefresh(const std::vector<TncTypeChoice>& old, int index,
                             const std::vector<TncTypeChoice>& fresh);

// The "TNC &Mode:" list, TncMode order.
inline constexpr const char* kTncModeTexts[] = {
    "Text mode (command/converse)",
    "KISS (serial port)",
    "KISS over TCP",
};

struct TncForm {
    bool enabled = false;
    int mode = kTncText;  // position in kTncModeTexts
    SerialForm serial;
    int type = 0;  // position in TncTypeTexts
    std::string kissHost;
    std::string kissPort;
    // TXDELAY, persistence, slot time (numbers 0-255) and full duplex; blank: not sent.
    std::string txDelay, persistence, slotTime;
    bool fullDuplex = false;

    // With "TNC &Enabled" clear every other control is disabled.
    bool controlsEnabled() const { return enabled; }
    // The serial line and the command file serve the text mode and serial KISS.
    bool serialEnabled() const { return enabled && mode != kTncKissTcp; }
    bool tcpEnabled() const { return enabled && mode == kTncKissTcp; }
    bool kissEnabled() const { return enabled && mode != kTncText; }
};

// A KISS parameter field: a whole number 0-255, else -1 (the TNC keeps its own value).
int32_t KissParameterFromText(const std::string& text);
std::string KissParameterText(int32_t value);

TncForm TncFormFrom(const CTncSettings& settings, const std::vector<TncTypeChoice>& files);
void StoreTncForm(const TncForm& form, const std::vector<TncTypeChoice>& files,
                  CTncSettings& settings);

inline constexpr const char* kGpsSourceTexts[] = {
    "Get GPS Data from TNC (&Automatic)",
    "Get GPS Data from TNC using CTRL-&E",
    "Get GPS Data from this &Serial Port: ->",
    "Get GPS Data from gps&d:",
};

struct GpsForm {
    bool enabled = false;
    int source = kGpsFromTncMonitor;  // GpsSource; another stored value checks no button
    SerialForm serial;
    std::string gpsdHost;
    std::string gpsdPort;

    bool sourcesEnabled() const { return enabled; }
    bool serialEnabled() const { return enabled && source == kGpsSerialPort; }
    bool gpsdEnabled() const { return enabled && source == kGpsGpsd; }
};

GpsForm GpsFormFrom(const CGpsSettings& settings);
// A form with no source button checked keeps the stored source.
void StoreGpsForm(const GpsForm& form, CGpsSettings& settings);

struct NetForm {
    bool enabled = false;
    bool autoReconnect = false;
    std::string hostAddress;
    std::string hostPort;
    std::string netFilter;

    // With "&Enabled" clear the other inputs are disabled.
    bool inputsEnabled() const { return enabled; }
};

NetForm NetFormFrom(const CNetSettings& settings);
// The host, port and filter are stored as typed.
void StoreNetForm(const NetForm& form, CNetSettings& settings);

}  // namespace plovane
