// SPDX-License-Identifier: GPL-3.0-or-later
// The APRS-IS connection settings, kept in the "Comm" section.
#pragma once

#include <string>

#include "core/profile.h"

namespace plovane {

// Thread-compatible: loaded and saved on the user-interface thread; the network client
// takes copies when it loads them.
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
