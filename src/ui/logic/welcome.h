// SPDX-License-Identifier: GPL-3.0-or-later
// The first-start guide without its window: the locator and typed positions, what a gpsd
// answer says, the serial devices by name, the texts that tell what the probes found, the
// common symbols offered, and how the choices land in the settings records.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comm/gps_port.h"
#include "comm/net_settings.h"
#include "comm/tnc_port.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "maps/map_options.h"
#include "maps/map_projection.h"

namespace plovane {

// Decimal degrees, north and east positive.
struct LatLon {
    double lat = 0;
    double lon = 0;
    bool operator==(const LatLon&) const = default;
};

// The centre of a Maidenhead locator of 4, 6 or 8 characters ("JO70fc", any case, blanks at
// either end ignored); nothing for any other text.
std::optional<LatLon> LocatorPosition(std::string_view locator);
// "50.08, 14.42" or "50.08 14.42" (decimal degrees, a minus for south or west); nothing for
// other text or a position outside the globe.
std::optional<LatLon> TypedPosition(std::string_view text);
// The fixed-point units the station settings keep.
int32_t ColatitudeOf(double lat);
int32_t LongitudeUnitsOf(double lon);

// The position of one gpsd report line: a TPV with a 2D or 3D fix; nothing for anything else.
std::optional<LatLon> GpsdFix(std::string_view jsonLine);

// The map box that shows `radiusKm` round a position (clamped to the globe).
MapBox RangeBox(const LatLon& position, int radiusKm);

// The APRS-IS range filter round a position: "r/50.08/14.42/100" (km).
std::string RangeFilter(const LatLon& position, int radiusKm);
inline constexpr int kDefaultRangeKm = 100;
inline constexpr char kWelcomeNetHost[] = "rotate.aprs2.net";
inline constexpr char kWelcomeNetPort[] = "14580";

// One serial device of /dev/serial/by-id: the link's path and its name, which says the maker
// and model of the adapter.
struct SerialChoice {
    std::string path;
    std::string name;
};
// The links of devRoot/serial/by-id in natural order; nothing when the folder is missing.
std::vector<SerialChoice> SerialPortsById(const std::filesystem::path& devRoot);

// What a probe found, as the guide says it.
enum class Probe { kKissTnc, kGpsd };
enum class ProbeResult { kLooking, kNone, kAnswered, kFix };
std::string ProbeText(Probe probe, ProbeResult result, std::string_view host, int port);

// The symbols offered on the guide's symbol page.
struct CommonSymbol {
    const char* name;
    const char* symbol;  // table character and code
};
inline constexpr std::array<CommonSymbol, 12> kCommonSymbols{{
    {"House", "/-"},
    {"Car", "/>"},
    {"Walker", "/["},
    {"Bicycle", "/b"},
    {"Weather station", "/_"},
    {"Digipeater", "/#"},
    {"Motorcycle", "/<"},
    {"Van", "/v"},
    {"Truck", "/k"},
    {"Boat", "/s"},
    {"Jeep", "/j"},
    {"Recreational vehicle", "/R"},
}};

enum class WelcomeLink { kNone, kKissTcp, kAprsIs, kSerial };

// What the guide gathered; an empty field or an unset option keeps the stored value.
struct WelcomeChoices {
    std::string call;                // checked already
    std::optional<LatLon> position;  // typed, from the locator or from gpsd
    bool gpsd = false;               // follow gpsd for the own position
    std::string gpsdHost;
    std::string gpsdPort;
    int ambiguity = 0;
    WelcomeLink link = WelcomeLink::kNone;
    std::string kissHost;
    std::string kissPort;
    int radiusKm = kDefaultRangeKm;
    std::string netHost = kWelcomeNetHost;
    std::string netPort = kWelcomeNetPort;
    std::string serialPort;
    // The serial TNC speaks KISS, or text mode set up by a TNC command file (empty: none).
    bool serialTextMode = false;
    std::string tncCommandFile;
    std::optional<std::string> tileSource;  // "osm" or the base layer's file
    std::string symbol;                     // empty: unchanged
};

// The records the guide writes.
struct WelcomeSettings {
    CStationSettings station;
    CTncSettings tnc;
    CGpsSettings gps;
    CNetSettings net;
    CMapOptions map;
};
// Applies the choices to the loaded records. The chosen link is turned on and the others
// off; APRS-IS goes to the chosen server (the rotating one's filtered port) with the range
// filter round the position (no filter without one).
void ApplyWelcome(const WelcomeChoices& choices, WelcomeSettings& settings);

// True when the profile holds a value under the key.
bool HasSetting(const Profile& profile, const std::string& section, const std::string& key);
// A new installation's defaults that depend on this machine, written only where the key is
// absent: the first serial device found for the TNC and the GPS, and the base layer as the
// tile background (when it is installed).
void WriteMachineDefaults(Profile& profile, const std::filesystem::path& devRoot,
                          const std::string& baseLayer);

}  // namespace plovane
