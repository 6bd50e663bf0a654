// SPDX-License-Identifier: GPL-3.0-or-later
// The connection settings' tables, loading and saving.
#include "core/comm_settings.h"

#include <cstdio>

#include "core/geo.h"
#include "core/station_settings.h"

namespace plovane {
namespace {

using Tnc = CTncSettings;
constexpr SettingKey<Tnc> kTncKeys[] = {
    {"TNCEnabled", &Tnc::enabled},
    {"TNCBaudRate", &Tnc::baudRate},
    {"TNCCommPort", &Tnc::port},
    {"TNCDataBits", &Tnc::dataBits},
    {"TNCParity", &Tnc::parity},
    {"TNCStopBits", &Tnc::stopBits},
    {"TNCType", &Tnc::tncCommandFile},
    {"TNCMode", &Tnc::mode},
    {"KISSHost", &Tnc::kissHost},
    {"KISSPort", &Tnc::kissPort},
    {"KISSChannel", &Tnc::kissChannel},
    {"KISSTxDelay", &Tnc::kissTxDelay},
    {"KISSPersistence", &Tnc::kissPersistence},
    {"KISSSlotTime", &Tnc::kissSlotTime},
    {"KISSFullDuplex", &Tnc::kissFullDuplex},
    {"TxBeacons", &Tnc::txBeacons},
    {"TxMessages", &Tnc::txMessages},
    {"IGate", &Tnc::igate},
    {"Digipeater", &Tnc::digipeater},
};

constexpr const char* kTncCountKey = "TNCPorts";
constexpr int kMaxTncPorts = 16;

using Gps = CGpsSettings;
constexpr SettingKey<Gps> kGpsKeys[] = {
    {"GPSEnabled", &Gps::enabled},   {"GPSType", &Gps::source},       {"GPSCommPort", &Gps::port},
    {"GPSBaudRate", &Gps::baudRate}, {"GPSDataBits", &Gps::dataBits}, {"GPSParity", &Gps::parity},
    {"GPSStopBits", &Gps::stopBits}, {"GPSDHost", &Gps::gpsdHost},    {"GPSDPort", &Gps::gpsdPort},
};

// The filter is not in the table: its default depends on the station settings.
using Net = CNetSettings;
constexpr SettingKey<Net> kNetKeys[] = {
    {"NetEnabled", &Net::enabled},
    {"AutoReconnect", &Net::autoReconnect},
    {"HostAddress", &Net::hostAddress},
    {"HostPort", &Net::hostPort},
};

// What a station gets that has never stored a filter.
std::string DefaultFilter(const Profile& p) {
    CStationSettings station;
    station.Load(p);
    if (!station.HasInitPosit || !station.HasTypedPosition())
        return "m/100";
    return RangeFilter(LatitudeDegrees(station.Lat), LongitudeDegrees(station.Lon), 100);
}

}  // namespace

const std::span<const SettingKey<CTncSettings>> CTncSettings::kKeys = kTncKeys;
const std::span<const SettingKey<CGpsSettings>> CGpsSettings::kKeys = kGpsKeys;
const std::span<const SettingKey<CNetSettings>> CNetSettings::kKeys = kNetKeys;

void CTncSettings::Load(const Profile& p, const std::string& section) {
    LoadKeys(p, section, kKeys, *this);
    if (mode < kTncText || mode > kTncKissTcp)
        mode = kTncText;
    if (section != kSection) {
        // Further ports default to sending nothing.
        const CTncSettings added = AddedTncPort();
        txBeacons = p.GetInt(section, "TxBeacons", added.txBeacons ? 1 : 0) != 0;
        txMessages = p.GetInt(section, "TxMessages", added.txMessages ? 1 : 0) != 0;
        igate = p.GetInt(section, "IGate", added.igate ? 1 : 0) != 0;
        digipeater = p.GetInt(section, "Digipeater", added.digipeater ? 1 : 0) != 0;
    }
}

std::string TncSection(int portId) {
    return portId <= 1 ? std::string(CTncSettings::kSection) : "TNC" + std::to_string(portId);
}

std::vector<CTncSettings> LoadTncPorts(const Profile& p) {
    int count = p.GetInt(CTncSettings::kSection, kTncCountKey, 1);
    if (count < 1)
        count = 1;
    if (count > kMaxTncPorts)
        count = kMaxTncPorts;
    std::vector<CTncSettings> ports(static_cast<size_t>(count));
    for (int id = 1; id <= count; ++id)
        ports[static_cast<size_t>(id - 1)].Load(p, TncSection(id));
    return ports;
}

void SaveTncPorts(Profile& p, const std::vector<CTncSettings>& ports) {
    int id = 1;
    for (const CTncSettings& port : ports)
        port.Save(p, TncSection(id++));
    p.WriteInt(CTncSettings::kSection, kTncCountKey, static_cast<int32_t>(ports.size()));
}

CTncSettings AddedTncPort() {
    CTncSettings port;
    port.txBeacons = false;
    port.txMessages = false;
    port.igate = false;
    port.digipeater = false;
    return port;
}

void CTncSettings::Save(Profile& p, const std::string& section) const {
    SaveKeys(p, section, kKeys, *this);
}

void CGpsSettings::Load(const Profile& p) {
    LoadKeys(p, kSection, kKeys, *this);
}

void CGpsSettings::Save(Profile& p) const {
    SaveKeys(p, kSection, kKeys, *this);
}

std::string RangeFilter(double lat, double lon, int radiusKm) {
    char text[64];
    std::snprintf(text, sizeof text, "r/%.2f/%.2f/%d", lat, lon, radiusKm < 1 ? 1 : radiusKm);
    return text;
}

void CNetSettings::Load(const Profile& p) {
    LoadKeys(p, kSection, kKeys, *this);
    // A value no text file can hold tells a missing key from an empty filter.
    constexpr const char* kMissing = "\x01";
    netFilter = p.GetString(kSection, "NetFilter", kMissing);
    if (netFilter == kMissing)
        netFilter = DefaultFilter(p);
}

void CNetSettings::Save(Profile& p) const {
    SaveKeys(p, kSection, kKeys, *this);
    p.WriteString(kSection, "NetFilter", netFilter);
}

}  // namespace plovane
