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

    void Load(const Profile& profile) {
        NewMessageEnabled = profile.GetInt(kSection, "NewMessageEnabled", 0) != 0;
        NewMessage = profile.GetString(kSection, "NewMessage", "None");
        NewAckEnabled = profile.GetInt(kSection, "NewAckEnabled", 0) != 0;
        NewAck = profile.GetString(kSection, "NewAck", "None");
        NewStationEnabled = profile.GetInt(kSection, "NewStationEnabled", 0) != 0;
        NewStation = profile.GetString(kSection, "NewStation", "None");
    }

    void Save(Profile& profile) const {
        profile.WriteInt(kSection, "NewMessageEnabled", NewMessageEnabled);
        profile.WriteString(kSection, "NewMessage", NewMessage);
        profile.WriteInt(kSection, "NewAckEnabled", NewAckEnabled);
        profile.WriteString(kSection, "NewAck", NewAck);
        profile.WriteInt(kSection, "NewStationEnabled", NewStationEnabled);
        profile.WriteString(kSection, "NewStation", NewStation);
    }
};

}  // namespace plovane
