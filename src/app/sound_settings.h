// SPDX-License-Identifier: GPL-3.0-or-later
// The alert sounds, kept in the "Sound" section: a switch and a WAV file for a new message,
// a new acknowledgement and a new station.
#pragma once

#include <string>

#include "core/profile.h"

namespace plovane {

struct CSoundSettings {
    static constexpr const char* kSection = "Sound";

    bool NewMessageEnabled = false;
    std::string NewMessage = "None";
    bool NewAckEnabled = false;
    std::string NewAck = "None";
    bool NewStationEnabled = false;
    std::string NewStation = "None";

    // Each alert's switch and file, and the key of the file ("<key>Enabled" for the switch).
    struct Alert {
        const char* key;
        bool CSoundSettings::*enabled;
        std::string CSoundSettings::*file;
    };
    static constexpr Alert kAlerts[] = {
        {"NewMessage", &CSoundSettings::NewMessageEnabled, &CSoundSettings::NewMessage},
        {"NewAck", &CSoundSettings::NewAckEnabled, &CSoundSettings::NewAck},
        {"NewStation", &CSoundSettings::NewStationEnabled, &CSoundSettings::NewStation},
    };

    void Load(const Profile& profile) {
        for (const Alert& alert : kAlerts) {
            this->*alert.enabled =
                profile.GetInt(kSection, std::string(alert.key) + "Enabled", 0) != 0;
            this->*alert.file = profile.GetString(kSection, alert.key, "None");
        }
    }

    void Save(Profile& profile) const {
        for (const Alert& alert : kAlerts) {
            profile.WriteInt(kSection, std::string(alert.key) + "Enabled", this->*alert.enabled);
            profile.WriteString(kSection, alert.key, this->*alert.file);
        }
    }
};

}  // namespace plovane
