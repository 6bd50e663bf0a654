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
    static constexpr const char* kDefaultPort = "23";

    bool enabled = false;
    bool autoReconnect = false;
    std::string hostAddress = kDefaultHost;  // a host name, an IPv4 or an IPv6 address
    std::string hostPort = kDefaultPort;     // decimal text
    // A server-side filter (e.g. "r/50.1/14.4/100" on port 14580); empty for none.
    std::string netFilter;

    void Load(const Profile& profile);
    void Save(Profile& profile) const;

    bool operator==(const CNetSettings&) const = default;
};

}  // namespace plovane
