// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate settings ("IGate" section) and the digipeater settings ("Digipeater" section),
// each declared once in its table of rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/profile.h"
#include "relay/setting_rows.h"

namespace plovane {

// Thread-compatible: loaded and saved on the user-interface thread; the relay logic gets a copy.
struct IGateSettings {
    static constexpr const char* kSection = "IGate";

    bool Enabled{};
    bool RfToIs{};           // gate what the radio hears to APRS-IS
    bool IsToRf{};           // gate messages for local stations from APRS-IS to the radio
    std::string IsToRfPath;  // the path of gated packets on the radio; empty for none
    int32_t MaxPerMinute{};  // packets gated to the radio per port and minute

    IGateSettings();  // the defaults of the table
    void Load(const Profile& profile);
    void Save(Profile& profile) const;
    bool operator==(const IGateSettings&) const = default;
};

struct DigipeaterSettings {
    static constexpr const char* kSection = "Digipeater";

    bool Enabled{};
    std::string Aliases;  // further calls answered as our own, comma-separated ("HOME,RELAY")
    bool FillIn{};        // a home fill-in digipeater: the first hop WIDE1-1 only

    DigipeaterSettings();
    void Load(const Profile& profile);
    void Save(Profile& profile) const;
    bool operator==(const DigipeaterSettings&) const = default;

    // The aliases in upper case, blanks and empty entries left out.
    std::vector<std::string> AliasList() const;
};

// A new installation gates nothing and relays nothing until asked to; a home digipeater is a
// fill-in one unless told otherwise.
inline const std::array<SettingRow<IGateSettings>, 5> kIGateRows{{
    {"Enabled", "&Run an IGate", BoolSetting<IGateSettings>{&IGateSettings::Enabled, false}},
    {"RfToIs", "Gate &radio packets to APRS-IS",
     BoolSetting<IGateSettings>{&IGateSettings::RfToIs, true}},
    {"IsToRf", "Gate &messages for local stations to the radio",
     BoolSetting<IGateSettings>{&IGateSettings::IsToRf, false}},
    {"IsToRfPath", "Radio &path of gated packets:",
     TextSetting<IGateSettings>{&IGateSettings::IsToRfPath, "WIDE1-1"}},
    {"MaxPerMinute", "Packets to the radio per &minute:",
     IntSetting<IGateSettings>{&IGateSettings::MaxPerMinute, 6, 1, 60}},
}};

inline const std::array<SettingRow<DigipeaterSettings>, 3> kDigipeaterRows{{
    {"Enabled", "Run a &digipeater",
     BoolSetting<DigipeaterSettings>{&DigipeaterSettings::Enabled, false}},
    {"FillIn", "&Fill-in only (WIDE1-1 as the first hop)",
     BoolSetting<DigipeaterSettings>{&DigipeaterSettings::FillIn, true}},
    {"Aliases", "&Aliases:", TextSetting<DigipeaterSettings>{&DigipeaterSettings::Aliases, ""}},
}};

// The IS-to-RF path as hops (upper case; blanks and empty entries left out); false when an
// entry is not a call AX.25 can carry or there are more than eight.
bool ParseRelayPath(const std::string& text, std::vector<std::string>& hops);

}  // namespace plovane
