// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts, kept in the "Sound" section: a switch and a WAV file for a new message, a new
// acknowledgement and a new station, and the switches of the other alerts.
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
    bool DesktopNotify = true;  // a desktop notification for each new message to us

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

    // The other alerts: each a switch with its key, its default and its check box's label
    // in the alerts dialog.
    struct Switch {
        const char* key;
        bool defaultValue;
        bool CSoundSettings::*value;
        const char* label;
    };
    static constexpr Switch kSwitches[] = {
        {"DesktopNotification", true, &CSoundSettings::DesktopNotify,
         "&Desktop notification for each new message"},
    };

    void Load(const Profile& profile) {
        for (const Alert& alert : kAlerts) {
            this->*alert.enabled =
                profile.GetInt(kSection, std::string(alert.key) + "Enabled", 0) != 0;
            this->*alert.file = profile.GetString(kSection, alert.key, "None");
        }
        for (const Switch& item : kSwitches)
            this->*item.value = profile.GetInt(kSection, item.key, item.defaultValue) != 0;
    }

    void Save(Profile& profile) const {
        for (const Alert& alert : kAlerts) {
            profile.WriteInt(kSection, std::string(alert.key) + "Enabled", this->*alert.enabled);
            profile.WriteString(kSection, alert.key, this->*alert.file);
        }
        for (const Switch& item : kSwitches)
            profile.WriteInt(kSection, item.key, this->*item.value);
    }
};

}  // namespace plovane
