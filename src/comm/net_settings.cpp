// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the APRS-IS connection settings.
#include "comm/net_settings.h"

#include <cstdio>

#include "core/geo.h"
#include "core/station_settings.h"

namespace plovane {
namespace {

// What a station gets that has never stored a filter.
std::string DefaultFilter(const Profile& p) {
    CStationSettings station;
    station.Load(p);
    if (!station.HasInitPosit || !station.HasTypedPosition())
        return "m/100";
    return RangeFilter(LatitudeDegrees(station.Lat), LongitudeDegrees(station.Lon), 100);
}

}  // namespace

std::string RangeFilter(double lat, double lon, int radiusKm) {
    char text[64];
    std::snprintf(text, sizeof text, "r/%.2f/%.2f/%d", lat, lon, radiusKm < 1 ? 1 : radiusKm);
    return text;
}

void CNetSettings::Load(const Profile& p) {
    enabled = p.GetInt(kSection, "NetEnabled", 0) != 0;
    autoReconnect = p.GetInt(kSection, "AutoReconnect", 0) != 0;
    hostAddress = p.GetString(kSection, "HostAddress", kDefaultHost);
    hostPort = p.GetString(kSection, "HostPort", kDefaultPort);
    // A value no text file can hold tells a missing key from an empty filter.
    constexpr const char* kMissing = "\x01";
    netFilter = p.GetString(kSection, "NetFilter", kMissing);
    if (netFilter == kMissing)
        netFilter = DefaultFilter(p);
}

void CNetSettings::Save(Profile& p) const {
    p.WriteInt(kSection, "NetEnabled", enabled ? 1 : 0);
    p.WriteInt(kSection, "AutoReconnect", autoReconnect ? 1 : 0);
    p.WriteString(kSection, "HostAddress", hostAddress);
    p.WriteString(kSection, "HostPort", hostPort);
    p.WriteString(kSection, "NetFilter", netFilter);
}

}  // namespace plovane
