// SPDX-License-Identifier: GPL-3.0-or-later
// The connection settings' tables, loading and saving.
#include "core/comm_settings.h"

#include <cstdio>

#include "core/geo.h"
#include "core/station_settings.h"

namespace plovane {
namespace {

constexpr const char* kTncCountKey = "TNCPorts";
constexpr int kMaxTncPorts = 16;

// What a station gets that has never stored a filter.
std::string DefaultFilter(const Profile& p);

// The rows in the order the page shows them.
using Tnc = CTncSettings;
constexpr SettingField<Tnc> kTncFields[] = {
    {"TNCEnabled", "TNC &Enabled", CheckEdit<Tnc>{&Tnc::enabled}, FieldPlace::kTop,
     FieldGate::kAlways},
    {"TNCMode", "TNC &Mode:", ChoiceEdit<Tnc>{&Tnc::mode, kTncModeTexts}},
    {"TNCCommPort", "Comm. &Port:", DeviceEdit<Tnc>{&Tnc::port}, FieldPlace::kForm,
     FieldGate::kSerial},
    {"TNCBaudRate", "&Baud Rate:", NumberListEdit<Tnc>{&Tnc::baudRate, kBaudRates},
     FieldPlace::kForm, FieldGate::kSerial},
    {"TNCDataBits", "&Data Bits:", NumberListEdit<Tnc>{&Tnc::dataBits, kDataBits},
     FieldPlace::kForm, FieldGate::kSerial},
    {"TNCParity", "Pari&ty:", NameListEdit<Tnc>{&Tnc::parity, kParityNames, true},
     FieldPlace::kForm, FieldGate::kSerial},
    {"TNCStopBits", "St&op Bits:", NameListEdit<Tnc>{&Tnc::stopBits, kStopBitsNames},
     FieldPlace::kForm, FieldGate::kSerial},
    {"TNCType", "TNC T&ype:", CommandFileEdit<Tnc>{&Tnc::tncCommandFile}, FieldPlace::kForm,
     FieldGate::kSerial},
    // A software TNC serves KISS on a TCP port (8001 by convention).
    {"KISSHost", "KISS &Host:", TextEdit<Tnc>{&Tnc::kissHost}, FieldPlace::kForm, FieldGate::kTcp},
    {"KISSPort", "&KISS Port:", TextEdit<Tnc>{&Tnc::kissPort}, FieldPlace::kForm, FieldGate::kTcp},
    // The radio channel our frames go out on, for a TNC with several.
    {"KISSChannel", "KISS Cha&nnel:", NumberEdit<Tnc>{&Tnc::kissChannel, 0, 15}, FieldPlace::kForm,
     FieldGate::kKiss},
    {"KISSTxDelay", "T&XDELAY (10 ms):", OptionalByteEdit<Tnc>{&Tnc::kissTxDelay, "TNC default"},
     FieldPlace::kForm, FieldGate::kKiss},
    {"KISSPersistence",
     "Per&sistence (0-255):", OptionalByteEdit<Tnc>{&Tnc::kissPersistence, "TNC default"},
     FieldPlace::kForm, FieldGate::kKiss},
    {"KISSSlotTime", "S&lot Time (10 ms):",
     OptionalByteEdit<Tnc>{&Tnc::kissSlotTime, "TNC default"}, FieldPlace::kForm, FieldGate::kKiss},
    // Full duplex is sent only when asked for; half duplex is every TNC's default.
    {"KISSFullDuplex", "&Full Duplex", FlagEdit<Tnc>{&Tnc::kissFullDuplex}, FieldPlace::kForm,
     FieldGate::kKiss},
    {"TxBeacons", "Send bea&cons", CheckEdit<Tnc>{&Tnc::txBeacons}, FieldPlace::kStrip,
     FieldGate::kAlways},
    {"TxMessages", "Send messa&ges", CheckEdit<Tnc>{&Tnc::txMessages}, FieldPlace::kStrip,
     FieldGate::kAlways},
    {"IGate", "&IGate", CheckEdit<Tnc>{&Tnc::igate}, FieldPlace::kStrip, FieldGate::kAlways},
    {"Digipeater", "Digipe&ater", CheckEdit<Tnc>{&Tnc::digipeater}, FieldPlace::kStrip,
     FieldGate::kAlways},
};

using Gps = CGpsSettings;
constexpr SettingField<Gps> kGpsFields[] = {
    {"GPSEnabled", "&GPS Enabled", CheckEdit<Gps>{&Gps::enabled}, FieldPlace::kTop,
     FieldGate::kAlways},
    {"GPSType", "", ChoiceEdit<Gps>{&Gps::source, kGpsSourceTexts, true}, FieldPlace::kTop},
    {"GPSCommPort", "Comm. &Port:", DeviceEdit<Gps>{&Gps::port}, FieldPlace::kForm,
     FieldGate::kSerial},
    {"GPSBaudRate", "&Baud Rate:", NumberListEdit<Gps>{&Gps::baudRate, kBaudRates},
     FieldPlace::kForm, FieldGate::kSerial},
    {"GPSDataBits", "&Data Bits:", NumberListEdit<Gps>{&Gps::dataBits, kDataBits},
     FieldPlace::kForm, FieldGate::kSerial},
    {"GPSParity", "Pari&ty:", NameListEdit<Gps>{&Gps::parity, kParityNames, true},
     FieldPlace::kForm, FieldGate::kSerial},
    {"GPSStopBits", "St&op Bits:", NameListEdit<Gps>{&Gps::stopBits, kStopBitsNames},
     FieldPlace::kForm, FieldGate::kSerial},
    {"GPSDHost", "gpsd &Host:", TextEdit<Gps>{&Gps::gpsdHost}, FieldPlace::kForm, FieldGate::kGpsd},
    {"GPSDPort", "gpsd Po&rt:", TextEdit<Gps>{&Gps::gpsdPort}, FieldPlace::kForm, FieldGate::kGpsd},
};

using Net = CNetSettings;
constexpr SettingField<Net> kNetFields[] = {
    {"NetEnabled", "&Enabled", CheckEdit<Net>{&Net::enabled}, FieldPlace::kTop, FieldGate::kAlways},
    {"AutoReconnect", "Auto &Reconnect", CheckEdit<Net>{&Net::autoReconnect}, FieldPlace::kTop},
    {"HostAddress", "Host &Address:", TextEdit<Net>{&Net::hostAddress}},
    {"HostPort", "Port &Number:", TextEdit<Net>{&Net::hostPort}},
    // A server-side filter such as "r/50.1/14.4/100" (servers take one on port 14580); its
    // default depends on the station settings.
    {"NetFilter", "Server &Filter:", TextEdit<Net>{&Net::netFilter, DefaultFilter}},
};

std::string DefaultFilter(const Profile& p) {
    CStationSettings station;
    station.Load(p);
    if (!station.HasInitPosit || !station.HasTypedPosition())
        return "m/100";
    return RangeFilter(LatitudeDegrees(station.Lat), LongitudeDegrees(station.Lon), 100);
}

}  // namespace

const std::span<const SettingField<CTncSettings>> CTncSettings::kFields = kTncFields;
const std::span<const SettingField<CGpsSettings>> CGpsSettings::kFields = kGpsFields;
const std::span<const SettingField<CNetSettings>> CNetSettings::kFields = kNetFields;

void CTncSettings::Load(const Profile& p, const std::string& section) {
    // Further ports default to sending nothing.
    LoadFields(p, section, kFields, *this, section == kSection ? CTncSettings{} : AddedTncPort());
    if (mode < kTncText || mode > kTncKissTcp)
        mode = kTncText;
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
    SaveFields(p, section, kFields, *this);
}

void CGpsSettings::Load(const Profile& p) {
    LoadFields(p, kSection, kFields, *this);
}

void CGpsSettings::Save(Profile& p) const {
    SaveFields(p, kSection, kFields, *this);
}

std::string RangeFilter(double lat, double lon, int radiusKm) {
    char text[64];
    std::snprintf(text, sizeof text, "r/%.2f/%.2f/%d", lat, lon, radiusKm < 1 ? 1 : radiusKm);
    return text;
}

void CNetSettings::Load(const Profile& p) {
    LoadFields(p, kSection, kFields, *this);
}

void CNetSettings::Save(Profile& p) const {
    SaveFields(p, kSection, kFields, *this);
}

}  // namespace plovane
