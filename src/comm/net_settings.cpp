// Loading and saving the APRS-IS connection settings.
#include "comm/net_settings.h"

namespace plovane {

void CNetSettings::Load(const Profile& p) {
    enabled = p.GetInt(kSection, "NetEnabled", 0) != 0;
    autoReconnect = p.GetInt(kSection, "AutoReconnect", 0) != 0;
    hostAddress = p.GetString(kSection, "HostAddress", kDefaultHost);
    hostPort = p.GetString(kSection, "HostPort", kDefaultPort);
    netFilter = p.GetString(kSection, "NetFilter", "");
}

void CNetSettings::Save(Profile& p) const {
    p.WriteInt(kSection, "NetEnabled", enabled ? 1 : 0);
    p.WriteInt(kSection, "AutoReconnect", autoReconnect ? 1 : 0);
    p.WriteString(kSection, "HostAddress", hostAddress);
    p.WriteString(kSection, "HostPort", hostPort);
    p.WriteString(kSection, "NetFilter", netFilter);
}

}  // namespace plovane
